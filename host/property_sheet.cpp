#include "host/property_sheet.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "host/calendars_page.h"
#include "host/host_ids.h"
#include "host/panel_layout.h"
#include "host/screen_density.h"
#include "host/tool_window.h"

namespace {

// In pixels at 96 dots per inch, scaled to the screen's density.
constexpr int kMargin = 8;  // round the page
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

int Scaled(int value)
{
    return HostScaleForDpi(value, HostScreenDpi());
}

void SendApply(HostSheet* sheet)
{
    SendMessageA(sheet->page, WM_COMMAND, MAKEWPARAM(CAL_PAGE_APPLY_COMMAND, 0), 0);
    if (sheet->calendarsPage != nullptr && HostCalendarsPageChanged(sheet->calendarsPage)) {
        const std::vector<std::wstring> files = HostCalendarsPageFiles(sheet->calendarsPage);
        HostCalendarsPageApplied(sheet->calendarsPage);
        SendMessageA(sheet->owner, SHEETN_CALENDARS, 0, reinterpret_cast<LPARAM>(&files));
    }
}

// The tab chosen shows its page and hides the other.
void ShowTab(HostSheet* sheet)
{
    const bool calendars = SendMessageW(sheet->tabs, TCM_GETCURSEL, 0, 0) == 1;
    ShowWindow(sheet->page, calendars ? SW_HIDE : SW_SHOW);
    ShowWindow(sheet->calendarsPage, calendars ? SW_SHOW : SW_HIDE);
}

void AddTab(HWND tabs, int index, const std::wstring& text)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// The tabs, at the margin: where their pages go, in the sheet's coordinates.
// Null where they cannot be made: the tool's page then stands alone.
HWND MakeTabs(HostSheet* sheet, HINSTANCE instance, const std::string& toolName, POINT* pageAt)
{
    const int margin = Scaled(kMargin);
    *pageAt = POINT{margin, margin};
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
        margin, margin, 400, 300, sheet->window, reinterpret_cast<HMENU>(IDC_SHEET_TABS), instance, nullptr);
    if (tabs == nullptr)
        return nullptr;
    SendMessageW(tabs, WM_SETFONT, SendMessageW(sheet->window, WM_GETFONT, 0, 0), 0);
    AddTab(tabs, 0, std::wstring(toolName.begin(), toolName.end()));
    AddTab(tabs, 1, L"Calendar Files");
    RECT display{0, 0, 400, 300};
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    *pageAt = POINT{margin + display.left, margin + display.top};
    return tabs;
}

// The tabs sized round the larger page, both pages above them.
void FitTabs(HostSheet* sheet)
{
    RECT page{};
    RECT other{};
    GetWindowRect(sheet->page, &page);
    GetWindowRect(sheet->calendarsPage, &other);
    POINT at{page.left, page.top};
    ScreenToClient(sheet->window, &at);
    RECT area{at.x, at.y, at.x + std::max(page.right - page.left, other.right - other.left),
        at.y + std::max(page.bottom - page.top, other.bottom - other.top)};
    SendMessageW(sheet->tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
    SetWindowPos(sheet->tabs, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
        SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(sheet->calendarsPage, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(sheet->page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Cancel: the tool gets back the block it had when the sheet opened, and
// the file follows, since handing a block back is not announced by the tool.
// A block handed back does not change the font the tool paints with, so a
// tool whose font changed meanwhile is made afresh from the block instead.
void CancelSheet(std::unique_ptr<HostSheet>* slot)
{
    HostSheet* sheet = slot->get();
    HWND tool = sheet->tool;
    HWND owner = sheet->owner;
    const CalToolSettings opened = sheet->opened;
    CalToolSettings live;
    const bool fontChanged =
        HostFetchBlock(tool, &live) && std::memcmp(&live.font, &opened.font, sizeof live.font) != 0;
    HostDestroySheet(slot);  // the page first, before any tool goes
    if (!fontChanged ||
        SendMessageA(owner, SHEETN_REMAKETOOL, reinterpret_cast<WPARAM>(tool),
            reinterpret_cast<LPARAM>(&opened)) == 0) {
        SendMessageA(tool, CTM_SETSETTINGS, CAL_SETTINGS_SIZE, reinterpret_cast<LPARAM>(&opened));
        InvalidateRect(tool, nullptr, FALSE);
    }
    SendMessageA(owner, SHEETN_SAVE, 0, 0);
}

// The owner shows text on its status line.
void Tell(HWND owner, const char* text)
{
    SendMessageA(owner, SHEETN_STATUS, 0, reinterpret_cast<LPARAM>(text));
}

INT_PTR CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* slot = reinterpret_cast<std::unique_ptr<HostSheet>*>(GetWindowLongPtrA(window, DWLP_USER));
    if (slot == nullptr || *slot == nullptr || (*slot)->window != window)
        return FALSE;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->idFrom == IDC_SHEET_TABS &&
        reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
        ShowTab(slot->get());
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK:
            SendApply(slot->get());
            HostDestroySheet(slot);
            return TRUE;
        case IDCANCEL:
            CancelSheet(slot);
            return TRUE;
        case IDC_SHEET_APPLY:
            SendApply(slot->get());
            return TRUE;
    }
    return FALSE;
}

// Sizes the sheet round the page and puts the buttons in a row below it.
void ArrangeSheet(HostSheet* sheet)
{
    RECT page{};
    GetWindowRect(sheet->tabs != nullptr ? sheet->tabs : sheet->page, &page);
    const int margin = Scaled(kMargin);
    const int buttonWidth = Scaled(kButtonWidth);
    const int buttonHeight = Scaled(kButtonHeight);
    const int gap = Scaled(kButtonGap);
    const int width = std::max(
        static_cast<int>(page.right - page.left) + 2 * margin, 3 * buttonWidth + 2 * gap + 2 * margin);
    const int buttonTop = margin + static_cast<int>(page.bottom - page.top) + margin;
    int x = width - margin - buttonWidth;
    for (int id : {IDC_SHEET_APPLY, IDCANCEL, IDOK}) {
        SetWindowPos(GetDlgItem(sheet->window, id), nullptr, x, buttonTop, buttonWidth, buttonHeight,
            SWP_NOZORDER | SWP_NOACTIVATE);
        x -= buttonWidth + gap;
    }
    RECT r{0, 0, width, buttonTop + buttonHeight + margin};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(sheet->window, GWL_STYLE)), FALSE,
        static_cast<DWORD>(GetWindowLongA(sheet->window, GWL_EXSTYLE)));
    SetWindowPos(sheet->window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool HostOpenSheet(std::unique_ptr<HostSheet>* slot, HWND owner, HINSTANCE instance, HWND tool,
    const std::string& toolName, const std::vector<std::wstring>& calendars)
{
    if (*slot != nullptr) {
        if ((*slot)->tool == tool) {
            SetForegroundWindow((*slot)->window);
            return true;
        }
        // One page at a time: the open one is closed as if by its close box,
        // keeping what was applied.
        HostSheetDropPending(slot->get());
        HostDestroySheet(slot);
    }
    auto sheet = std::make_unique<HostSheet>();
    sheet->tool = tool;
    sheet->owner = owner;
    if (!HostFetchBlock(tool, &sheet->opened)) {
        Tell(owner, "The tool hands out no settings, so it has no properties to show.");
        return false;
    }
    sheet->committed = sheet->opened;
    sheet->window = CreateDialogParamA(
        instance, MAKEINTRESOURCEA(IDD_HOST_SHEET), owner, SheetProc, reinterpret_cast<LPARAM>(slot));
    if (sheet->window == nullptr) {
        Tell(owner, "The property sheet could not be opened.");
        return false;
    }
    POINT pageAt{};
    sheet->tabs = MakeTabs(sheet.get(), instance, toolName, &pageAt);
    sheet->page = reinterpret_cast<HWND>(SendMessageA(
        tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(sheet->window), MAKELPARAM(pageAt.x, pageAt.y)));
    if (sheet->page == nullptr) {
        DestroyWindow(sheet->window);
        Tell(owner, "The tool did not provide a properties page.");
        return false;
    }
    if (sheet->tabs != nullptr)
        sheet->calendarsPage = HostCreateCalendarsPage(sheet->window, instance, calendars, pageAt.x, pageAt.y);
    if (sheet->calendarsPage != nullptr) {
        FitTabs(sheet.get());
    } else if (sheet->tabs != nullptr) {
        DestroyWindow(sheet->tabs);  // one page needs no tabs
        sheet->tabs = nullptr;
    }
    // Lets the sheet's dialog manager tab into the page's controls.
    SetWindowLongA(sheet->page, GWL_EXSTYLE, GetWindowLongA(sheet->page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    SetWindowTextA(sheet->window, (toolName + " Properties").c_str());
    ArrangeSheet(sheet.get());
    ShowWindow(sheet->window, SW_SHOW);
    *slot = std::move(sheet);
    return true;
}

void HostSheetToolChanged(HostSheet* sheet, HWND tool)
{
    if (sheet != nullptr && sheet->tool == tool)
        HostFetchBlock(tool, &sheet->committed);
}

void HostSheetDropPending(HostSheet* sheet)
{
    CalToolSettings live;
    if (HostFetchBlock(sheet->tool, &live) && std::memcmp(&live, &sheet->committed, sizeof live) != 0)
        SendMessageA(
            sheet->tool, CTM_SETSETTINGS, CAL_SETTINGS_SIZE, reinterpret_cast<LPARAM>(&sheet->committed));
}

void HostDestroySheet(std::unique_ptr<HostSheet>* slot)
{
    std::unique_ptr<HostSheet> sheet = std::move(*slot);
    if (sheet == nullptr)
        return;
    DestroyWindow(sheet->page);
    DestroyWindow(sheet->window);  // the calendar files' page and the tabs with it
    if (IsWindow(sheet->owner))
        SetForegroundWindow(sheet->owner);
}
