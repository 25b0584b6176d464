#include "host/property_sheet.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

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
    if (message != WM_COMMAND || slot == nullptr || *slot == nullptr || (*slot)->window != window)
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
    GetWindowRect(sheet->page, &page);
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

bool HostOpenSheet(
    std::unique_ptr<HostSheet>* slot, HWND owner, HINSTANCE instance, HWND tool, const std::string& toolName)
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
    sheet->page = reinterpret_cast<HWND>(SendMessageA(tool, CTM_CREATEPAGE,
        reinterpret_cast<WPARAM>(sheet->window), MAKELPARAM(Scaled(kMargin), Scaled(kMargin))));
    if (sheet->page == nullptr) {
        DestroyWindow(sheet->window);
        Tell(owner, "The tool did not provide a properties page.");
        return false;
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
    DestroyWindow(sheet->window);
    if (IsWindow(sheet->owner))
        SetForegroundWindow(sheet->owner);
}
