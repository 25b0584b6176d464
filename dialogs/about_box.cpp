#include "dialogs/about_box.h"

#include "dialogs/about_sequence.h"
#include "dialogs/labels.h"
#include "plugin/module.h"
#include "resource.h"

int32_t g_aboutClicks = 0;

namespace {

void SetTextFromTable(HWND window, UINT id)
{
    wchar_t text[100];
    CalLoadLabel(id, 99, nullptr, L"", text);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

INT_PTR OnInitDialog(HWND dialog)
{
    SetTextFromTable(dialog, IDS_ABOUT);
    SetTextFromTable(GetDlgItem(dialog, IDC_ABOUT_NAME), IDS_TOOLNAME);
    SetTextFromTable(GetDlgItem(dialog, IDC_ABOUT_NOTICE), IDS_NOTICE);
    return TRUE;
}

INT_PTR OnMouse(HWND dialog, CalAboutEvent event)
{
    const CalAboutStepResult step = CalAboutStep(g_aboutClicks, event);
    g_aboutClicks = step.clicks;
    if (step.reveal) {
        char caption[100];
        CalRevealCaption(g_hiddenCaption, caption);
        SendMessageA(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
    }
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK CalAboutProc(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // clang-format off
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: EndDialog(dialog, 1); return TRUE;  // OK, Enter and Escape alike
    case WM_MOUSEMOVE: return OnMouse(dialog, CalAboutEvent::MouseMove);
    case WM_LBUTTONDBLCLK: return OnMouse(dialog, CalAboutEvent::LeftDoubleClick);
    case WM_RBUTTONDBLCLK: return OnMouse(dialog, CalAboutEvent::RightDoubleClick);
    default: return FALSE;
    }
    // clang-format on
}

void CalShowAbout(HWND owner)
{
    DialogBoxParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_ABOUT), owner, CalAboutProc, 0);
}
