#include "dialogs/font_choice.h"

#include <commdlg.h>

bool CalChooseFont(CalToolState* state, HWND owner)
{
    CHOOSEFONTA& cf = state->settings.chooseFont;
    // rgbColors and the alignment word keep what the block holds.
    cf.lStructSize = sizeof(CHOOSEFONTA);
    cf.hwndOwner = owner;
    cf.hDC = nullptr;
    cf.lpLogFont = &state->settings.font;
    cf.iPointSize = 120;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    cf.lCustData = 0;
    cf.lpfnHook = nullptr;
    cf.lpTemplateName = nullptr;
    cf.hInstance = nullptr;
    cf.lpszStyle = nullptr;
    cf.nFontType = SCREEN_FONTTYPE;
    cf.nSizeMin = 0;
    cf.nSizeMax = 0;
    // Some choosers write into their record and the font as the user
    // browses; a cancelled choice leaves both as they were before it opened.
    const CHOOSEFONTA filled = cf;
    const LOGFONTA before = state->settings.font;
    HWND tool = state->window;
    if (ChooseFontA(&cf) != FALSE)
        return true;
    // Unless the tool and its record went away while the chooser was open.
    if (CalToolFromWindow(tool) == state) {
        state->settings.chooseFont = filled;
        state->settings.font = before;
    }
    return false;
}
