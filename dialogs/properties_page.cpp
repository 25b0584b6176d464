#include "dialogs/properties_page.h"

#include <cstring>

#include "calendar/calendar.h"
#include "dialogs/about_box.h"
#include "dialogs/font_choice.h"
#include "dialogs/labels.h"
#include "resource.h"
#include "view/month_text.h"

// Hosts know the apply command from the public header.
static_assert(IDC_PAGEAPPLY == CAL_PAGE_APPLY_COMMAND, "one number for the page's apply command");

HWND g_pageWindow = nullptr;
CalToolState* g_pageState = nullptr;

namespace {

void SetCheck(HWND page, int id, bool checked)
{
    SendDlgItemMessageA(page, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Checked(HWND page, int id)
{
    return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void SetLabel(HWND page, int id, UINT stringId, int maxChars, const wchar_t* fallback, const wchar_t* suffix)
{
    wchar_t text[100];
    CalLoadLabel(stringId, maxChars, fallback, suffix, text);
    SetDlgItemTextW(page, id, text);
}

INT_PTR OnInitDialog(HWND page)
{
    SetLabel(page, IDC_ABOUT, IDS_ABOUT, 96, nullptr, L"...");
    if (g_pageState != nullptr)
        CalPageShowSettings(page, g_pageState->settings);
    for (int i = 0; i < 7; ++i) {
        CalText name;
        CalWeekdayName(i, name);
        SetDlgItemTextW(page, IDC_FIRSTDAY0 + i, name);
    }
    SetLabel(page, IDC_FIRSTDAYGROUP, IDS_FIRSTDAY, 39, L"First Week Day", L"");
    SetLabel(page, IDC_WEEKNUMBERS, IDS_WEEKNUMBERS, 39, L"Week Numbers", L"");
    SetLabel(page, IDC_USEBACKGROUND, IDS_USEBACKGROUND, 39, L"Use Halvex background", L"");
    SetLabel(page, IDC_SELECTFONT, IDS_SELECTFONT, 36, L"Select Font", L"...");
    return TRUE;
}

// Takes the controls' states into the record; the host hears of it only
// when something differs.
void Apply(HWND page)
{
    CalToolState* state = g_pageState;
    if (state == nullptr)
        return;
    CalToolSettings& s = state->settings;
    bool changed = false;

    // The first checked button; none checked (only a host's own meddling
    // does that) keeps the weekday the calendar shows first.
    LONG firstDay = CalNormalFirstDay(s.firstDay);
    for (int i = 0; i < 7; ++i) {
        if (Checked(page, IDC_FIRSTDAY0 + i)) {
            firstDay = i;
            break;
        }
    }
    const LONG weekNumbers = Checked(page, IDC_WEEKNUMBERS) ? 1 : 0;
    if (weekNumbers != s.weekNumbers) {
        s.weekNumbers = weekNumbers;
        changed = true;
    }
    const LONG useBackground = Checked(page, IDC_USEBACKGROUND) ? 1 : 0;
    if (useBackground != s.useBackground) {
        s.useBackground = useBackground;
        changed = true;
    }
    if (firstDay != s.firstDay) {
        s.firstDay = firstDay;
        changed = true;
    }
    // A font confirmed in the chooser is painted from this apply on.
    if (std::memcmp(&state->appliedFont, &s.font, sizeof s.font) != 0) {
        state->appliedFont = s.font;
        changed = true;
    }
    if (changed)
        CalSettingsChanged(state, CAL_CHANGED_FONT_OR_PAGE, FALSE);
}

// The page's font chooser: the chosen font waits in the record's font for the
// next apply.
void ChooseFontForApply(HWND page)
{
    if (g_pageState != nullptr)
        CalChooseFont(g_pageState, page);
}

INT_PTR OnCommand(HWND page, WORD id)
{
    switch (id) {
        case IDC_PAGEAPPLY:
            Apply(page);
            break;
        case IDC_SELECTFONT:
            ChooseFontForApply(page);
            break;
        case IDC_ABOUT:
            CalShowAbout(page);
            break;
        default:
            break;  // the buttons' own clicks wait for the apply
    }
    return FALSE;
}

INT_PTR OnDestroy(HWND page)
{
    // Only this page's binding is let go: a newer page stays bound even if a
    // host closes an older one after opening it.
    if (g_pageWindow == page)
        g_pageWindow = nullptr;
    return FALSE;
}

}  // namespace

void CalPageShowSettings(HWND page, const CalToolSettings& settings)
{
    for (int i = 0; i < 7; ++i)
        SetCheck(page, IDC_FIRSTDAY0 + i, false);
    SetCheck(page, IDC_FIRSTDAY0 + CalNormalFirstDay(settings.firstDay), true);
    SetCheck(page, IDC_WEEKNUMBERS, settings.weekNumbers == 1);
    SetCheck(page, IDC_USEBACKGROUND, settings.useBackground == 1);
}

void CalPageForget(const CalToolState* state)
{
    if (g_pageState == state)
        g_pageState = nullptr;
}

INT_PTR CALLBACK CalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    // clang-format off
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page);
    case WM_COMMAND: return OnCommand(page, LOWORD(wParam));
    case WM_DESTROY: return OnDestroy(page);
    default: return FALSE;
    }
    // clang-format on
}
