// Text in every script with the tool's own font, made from the font record
// a settings block stores: where that font has no glyphs for a text (a
// Western face asked for Thai or Devanagari, say), the text is drawn and
// measured in a font that has them, as the platform's own font fallback would
// choose: the same face for the locale's character set, or else an installed
// face that has every glyph of the text. Of those, the first whose line is in
// proportion to its letters is taken (view/face_choice); so is a face in
// place of the tool's own font where the platform gave that name to a face
// out of proportion.
#ifndef CALENDAR_VIEW_TEXT_FONT_H
#define CALENDAR_VIEW_TEXT_FONT_H

#include <windows.h>

// A font made from a font record of a settings block, or null. A stored face
// name may lack its terminator: the font is made from a copy that has one,
// and a height or width beyond 1000 units either way is made 1000 units.
HFONT CalCreateStoredFont(const LOGFONTA& font);

// The bold weight of a font record, which marked days are drawn in: bold, or
// heavy where the font is bold already.
LOGFONTA CalBoldFont(const LOGFONTA& font);

// The texts of one paint or one measurement: dc with the tool's font
// selected (or its own font), and the fallback made for the first text that
// font could not show, kept until CalEndTexts.
struct CalTextFonts {
    HDC dc;
    LOGFONTA stored;     // the tool's font, the model of every fallback
    HFONT fallback;      // null until a text needs it
    int digits;          // whether the tool's font has the ten digits: -1 not yet asked, else 0 or 1
    wchar_t unfound;     // the block of characters no face was found for in this paint, or 0xFFFF
    HFONT own;           // a face in proportion selected in place of dc's font, or null
    HGDIOBJ ownDisplaced;  // the font own displaced, selected back at the end
    static constexpr int kRetired = 6;
    HFONT retired[kRetired];  // fonts done with, deleted once dc has gone
    int retiredCount;
};

// Takes dc's selected font as the tool's own, made from stored, unless its
// line is out of proportion to its letters: then a face in proportion that
// has the digits takes its place until CalEndTexts, where one is installed.
void CalBeginTexts(CalTextFonts& fonts, HDC dc, const LOGFONTA& stored);

// DrawTextW of text in dc, one line, in the tool's font where it has the
// glyphs. A text it lacks some for is drawn in a fallback font that has
// them; where that lacks others (a Thai face without Latin digits, say),
// each run of characters is drawn in whichever of the two has them, on one
// baseline. Returns the height of the line, as DrawTextW does.
int CalDrawText(CalTextFonts& fonts, const wchar_t* text, int length, RECT* rect, UINT flags);

// Selects back the font dc had before the texts. The fonts made for them are
// kept until CalFreeTexts, called once dc is released or deleted: a font a
// failed selection left in dc is never deleted while selected.
void CalEndTexts(CalTextFonts& fonts);
void CalFreeTexts(CalTextFonts& fonts);

// The texts drawn in the bold weight of the tool's font: the font made from
// stored (or null, when it could not be made), and their own session.
struct CalBoldTexts {
    LOGFONTA stored;
    HFONT font;
    CalTextFonts texts;
};

#endif
