// Whole characters in UTF-16 text, apart from the platform: where a text may
// be cut, what its first character is, and whether seven weekday initials
// tell the days apart. A character here is what a reader sees as one: a base
// (a single unit or a surrogate pair) with the marks that combine with it.
#ifndef CALENDAR_VIEW_TEXT_UNITS_H
#define CALENDAR_VIEW_TEXT_UNITS_H

#include <cstdint>

// Whether the code point combines with the character before it (a
// non-spacing, spacing or enclosing mark, a joiner or a variation selector).
bool CalIsCombining(uint32_t codePoint);

// The code point that starts at text[i] of a text of length units, and in
// units how many it takes (1, or 2 for a whole surrogate pair). A lone
// surrogate stands for itself.
template <class Unit>
uint32_t CalCodePointAt(const Unit* text, int length, int i, int& units)
{
    const uint32_t first = static_cast<uint16_t>(text[i]);
    units = 1;
    if (first >= 0xD800 && first <= 0xDBFF && i + 1 < length) {
        const uint32_t second = static_cast<uint16_t>(text[i + 1]);
        if (second >= 0xDC00 && second <= 0xDFFF) {
            units = 2;
            return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        }
    }
    return first;
}

// Units of the character that starts at text[i]: its base and every mark
// after it.
template <class Unit>
int CalCharacterUnits(const Unit* text, int length, int i)
{
    int units = 0;
    CalCodePointAt(text, length, i, units);
    int n = units;
    while (i + n < length && CalIsCombining(CalCodePointAt(text, length, i + n, units)))
        n += units;
    return n;
}

// Length of the longest prefix of text within max units made of whole
// characters: it never ends inside a surrogate pair nor before a mark.
template <class Unit>
int CalWholePrefix(const Unit* text, int length, int max)
{
    int n = 0;
    while (n < length) {
        const int step = CalCharacterUnits(text, length, n);
        if (n + step > max)
            break;
        n += step;
    }
    return n;
}

// Length of the first whole character of text, 0 for an empty text.
template <class Unit>
int CalFirstCharacter(const Unit* text, int length)
{
    return length > 0 ? CalCharacterUnits(text, length, 0) : 0;
}

// The fewest different initials that still tell a week's days apart: with
// fewer, the names share a leading word and their initials say nothing.
inline constexpr int CAL_DISTINCT_INITIALS = 3;

// How many different texts the seven initials hold.
template <class Unit>
int CalDistinctTexts(const Unit* const (&texts)[7], const int (&lengths)[7])
{
    int distinct = 0;
    for (int i = 0; i < 7; ++i) {
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j) {
            seen = lengths[j] == lengths[i];
            for (int k = 0; seen && k < lengths[i]; ++k)
                seen = texts[j][k] == texts[i][k];
        }
        distinct += seen ? 0 : 1;
    }
    return distinct;
}

#endif
