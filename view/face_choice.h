// Which face draws a text: of the faces that have its glyphs, in the
// platform's order of preference, the first whose line is in proportion to
// its characters. A face made for stacking formulas has a line several times
// its letters' height, and a view measured or drawn in it grows with that
// line. Platform-free.
#ifndef CALENDAR_VIEW_FACE_CHOICE_H
#define CALENDAR_VIEW_FACE_CHOICE_H

#include <cstdint>

// A face made at the tool's size, as its metrics give it.
struct CalFaceLine {
    int32_t line;        // the height of its line, ascent and descent
    int32_t characters;  // the height of its characters: the line less its internal leading
};

// A line more than this many times its characters' height is out of
// proportion: a mathematical face's is over four times; the tallest text
// faces, a Nastaliq's among them, stay under two and a half.
inline constexpr int32_t kCalMostLinePerCharacter = 3;

// Whether a face's line is in proportion to its characters. A face the
// platform could not measure is taken on trust, as the platform gave it.
bool CalLineInProportion(const CalFaceLine& face);

// The face to use of count candidates, given in the platform's order of
// preference: the first whose line is in proportion; where none is, the one
// least out of proportion, the earlier of two alike. -1 when there is none.
int CalChooseFace(const CalFaceLine* faces, int count);

#endif
