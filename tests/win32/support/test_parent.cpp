#include "tests/win32/support/test_parent.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "plugin/caltool.h"

namespace {

constexpr char kClass[] = "CalTestParent";

void PaintBackground(const CalTestParent& parent, LPARAM lParam)
{
    const auto* request = reinterpret_cast<const CalBackgroundRequest*>(lParam);
    HBRUSH brush = CreateSolidBrush(parent.background);
    FillRect(request->dc, &request->rect, brush);  // selects nothing into the tool's surface
    DeleteObject(brush);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* parent = reinterpret_cast<CalTestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (parent != nullptr && message == WM_CONTEXTMENU)
        ++parent->contextMenus;
    if (parent == nullptr || message < WM_USER || message >= WM_APP)
        return DefWindowProcA(window, message, wParam, lParam);
    CalRecordedNotification n{message, wParam, lParam, {}};
    if (message == CTN_PAINTBACKGROUND && lParam != 0) {
        std::memcpy(n.request.data(), reinterpret_cast<const void*>(lParam), n.request.size());
        PaintBackground(*parent, lParam);
    }
    LRESULT result = 0;
    if (message == CTN_GETDAYMARKS && lParam != 0) {
        auto* marks = reinterpret_cast<CalDayMarks*>(lParam);
        std::memcpy(n.request.data(), marks, sizeof *marks);
        if (parent->dayMarks) {
            marks->days = parent->dayMarks(marks->year, marks->month);
            result = 1;
        }
    }
    if (message == CTN_GETDAYTEXT && lParam != 0) {
        auto* asked = reinterpret_cast<CalDayText*>(lParam);
        std::memcpy(n.request.data(), asked, sizeof *asked);
        const wchar_t* text = parent->dayText ? parent->dayText(asked->date) : nullptr;
        if (text != nullptr && asked->capacity > 0) {
            // As a host does: at most capacity - 1 units, whatever they split.
            const size_t units = std::min(std::wcslen(text), static_cast<size_t>(asked->capacity - 1));
            std::wmemcpy(asked->text, text, units);
            asked->text[units] = L'\0';
            result = 1;
        }
    }
    parent->notifications.push_back(n);
    if (parent->onNotification)
        parent->onNotification(n);
    return result;
}

void RegisterOnce()
{
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kClass;
        return RegisterClassA(&wc);
    }();
    (void)atom;
}

}  // namespace

CalTestParent::CalTestParent(int width, int height, int x, int y, CalPanelLayer layer)
{
    RegisterOnce();
    RECT r{0, 0, width, height};
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    AdjustWindowRect(&r, style, FALSE);
    window = CreateWindowExA(0, kClass, "test panel", style, x, y, r.right - r.left, r.bottom - r.top,
        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    if (layer == CalPanelLayer::Topmost)
        CalTestPutOnTop(window, x, y);
}

CalTestParent::~CalTestParent()
{
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

std::vector<CalRecordedNotification> CalTestParent::Received(UINT message) const
{
    std::vector<CalRecordedNotification> out;
    for (const auto& n : notifications)
        if (n.message == message)
            out.push_back(n);
    return out;
}

void CalTestPutOnTop(HWND window, int x, int y)
{
    SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void CalPumpMessages(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ms != 0)
            Sleep(10);
    } while (GetTickCount() - start < ms);
}
