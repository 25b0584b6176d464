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

#endif
