// Text in every script with the tool's own font: where that font has no
// glyphs for a text (a Western face asked for Thai or Devanagari, say), the
// text is drawn and measured in a font that has them, as the platform's own
// font fallback would choose: the same face for the locale's character set,
// or else the first installed face that has every glyph of the text.
#ifndef CALENDAR_VIEW_TEXT_FONT_H
#define CALENDAR_VIEW_TEXT_FONT_H

#include <windows.h>

// Whether the font selected into dc has a glyph for every character of text
// that needs one (blanks and combining joiners aside).
bool CalFontHasGlyphs(HDC dc, const wchar_t* text, int length);

// The texts of one paint or one measurement: dc with the tool's font
// selected (or its own font), and the fallback made for the first text that
// font could not show, kept until CalEndTexts.
struct CalTextFonts {
    HDC dc;
    LOGFONTA stored;   // the tool's font, the model of every fallback
    HFONT fallback;    // null until a text needs it
    bool triedFallback;
    int digits;  // whether the tool's font has the ten digits: -1 not yet asked, else 0 or 1
};

void CalBeginTexts(CalTextFonts& fonts, HDC dc, const LOGFONTA& stored);

// DrawTextW of text in dc, in the tool's font where it has the glyphs and in
// the fallback font otherwise. Returns what DrawTextW returns.
int CalDrawText(CalTextFonts& fonts, const wchar_t* text, int length, RECT* rect, UINT flags);

// Deletes the fallback font, if one was made; dc keeps the font it had.
void CalEndTexts(CalTextFonts& fonts);

#endif
