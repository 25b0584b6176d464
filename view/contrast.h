// How well two colours tell apart, as the accessibility guidelines measure
// it (WCAG 2): the ratio of their relative luminances, each lifted by 0.05,
// from 1 (the same) to 21 (black on white). Platform-free.
#ifndef CALENDAR_VIEW_CONTRAST_H
#define CALENDAR_VIEW_CONTRAST_H

#include <cstdint>

// Colours are the platform's COLORREF layout: 0x00BBGGRR.
double CalContrastRatio(uint32_t colour, uint32_t other);

// Below this, text does not stand out from what lies behind it.
constexpr double kCalLeastContrast = 3.0;

// Whether today's cell takes the selection colours (the highlight behind the
// highlight text) rather than its own fill behind the button text: in the
// system's high-contrast mode, and wherever the fill would swallow the text.
inline bool CalTodayInSelectionColours(bool highContrast, uint32_t fill, uint32_t text)
{
    return highContrast || CalContrastRatio(fill, text) < kCalLeastContrast;
}

// The colours of a scheme that tell the days apart, 0x00BBGGRR each.
struct CalDayScheme {
    uint32_t face;           // behind every day, where the face is filled
    uint32_t text;           // the numbers
    uint32_t today;          // today's fill
    uint32_t edge;           // the darkest line of today's sunken edge
    uint32_t selection;      // the selected day's fill, as a selected item's
    uint32_t selectionText;  // its number
    bool highContrast;       // the system's high-contrast mode is on
};

// How one day's cell is drawn, besides today's sunken edge and a marked
// day's bold weight.
struct CalDayLook {
    bool filled;    // the cell is filled with fill
    uint32_t fill;
    uint32_t text;  // the number's colour
    bool framed;    // a one-pixel frame in the number's colour, inside today's edge
    bool outlined;  // a one-pixel outline round the cell in the scheme's text colour
};

// Small text reads easily from 4.5:1 (the guidelines' figure for text);
// the platform's own selection colours are often made to meet it exactly,
// which the rounding of their channels leaves a hair short of it.
constexpr double kCalEasyContrast = 4.45;

// The selected day takes the selection colours, today among them. Outside
// the high-contrast mode, where the selection's text does not read easily on
// its fill and the button text reads better, the number takes the button
// text; where the fill does not stand out from the face, the cell is
// outlined in the text colour. Today alone keeps its fill where that fill
// holds the text apart and is not in the high-contrast mode; there it is
// left unfilled, so that it never looks selected. Where the sunken edge
// would not stand out from what lies inside it, today is framed too.
inline CalDayLook CalLookOfDay(const CalDayScheme& s, bool today, bool selected)
{
    CalDayLook look{false, s.face, s.text, false, false};
    const bool plainToday = CalTodayInSelectionColours(s.highContrast, s.today, s.text);
    if (selected) {
        look = CalDayLook{true, s.selection, s.selectionText, false, false};
        const double own = CalContrastRatio(s.selectionText, s.selection);
        if (!s.highContrast && own < kCalEasyContrast && CalContrastRatio(s.text, s.selection) > own)
            look.text = s.text;
        look.outlined = !today && CalContrastRatio(s.selection, s.face) < kCalLeastContrast;
    } else if (today && !plainToday) {
        look = CalDayLook{true, s.today, s.text, false, false};
    }
    if (today)
        look.framed = plainToday || CalContrastRatio(s.edge, look.fill) < kCalLeastContrast;
    return look;
}

#endif
