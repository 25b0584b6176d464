#include "tool/commands.h"

#include "dialogs/about_box.h"
#include "dialogs/font_choice.h"
#include "resource.h"

namespace {

// An option the menu shows checked (any non-zero value) turns off, and one
// shown unchecked turns on: a stored value other than 0 or 1 flips too.
LONG Flipped(LONG option)
{
    return option != 0 ? 0 : 1;
}

// The font chooser of the context menu: a confirmed font is painted at once.
void ChooseFontNow(CalToolState* state)
{
    HWND window = state->window;
    if (!CalChooseFont(state, window))
        return;
    // The chooser runs a modal loop in which the host may have destroyed the
    // tool; its record is then gone and nothing more is done.
    if (CalToolFromWindow(window) != state)
        return;
    state->appliedFont = state->settings.font;
    CalSettingsChanged(state, CAL_CHANGED_FONT_OR_PAGE, TRUE);
}

}  // namespace

void CalRunCommand(CalToolState* state, WORD id)
{
    CalToolSettings& s = state->settings;
    switch (id) {
        case IDM_PROPERTIES:
            SendMessageA(
                GetParent(state->window), CTN_SHOWPROPERTIES, reinterpret_cast<WPARAM>(state->window), 0);
            return;
        case IDM_WEEKNUMBERS:
            s.weekNumbers = Flipped(s.weekNumbers);
            break;
        case IDM_SELECTFONT:
            ChooseFontNow(state);
            return;
        case IDC_USEBACKGROUND:
            s.useBackground = Flipped(s.useBackground);
            break;
        case IDC_ABOUT:
            CalShowAbout(state->window);
            return;
        default:
            if (id < IDM_FIRSTDAY0 || id > IDM_FIRSTDAY0 + 6)
                return;
            s.firstDay = id - IDM_FIRSTDAY0;
            break;
    }
    CalSettingsChanged(state, CAL_CHANGED_OPTION, TRUE);
}
