// Where the time of one CalPaintMonth goes: the program's own imports of the
// functions on the paint path are routed through timing wrappers, and every
// outermost call is booked to the step of the view it serves.
#ifndef CALENDAR_BENCH_PAINT_PROFILE_H
#define CALENDAR_BENCH_PAINT_PROFILE_H

#include <windows.h>

#include <array>
#include <string>

enum BenchStep {
    STEP_SURFACE,        // CreateCompatibleDC
    STEP_BITMAP,         // CreateCompatibleBitmap
    STEP_OBJECTS,        // brushes, the font, selections, colours, modes
    STEP_BACKGROUND,     // the host's background request, the host's fill included
    STEP_FRAME,          // the etched frame
    STEP_FACE,           // the face fill
    STEP_SEPARATOR,      // the etched separator
    STEP_TODAY_EDGE,     // today's sunken edge
    STEP_TODAY_FILL,     // today's highlight
    STEP_FIRST_TEXT,     // the paint's first DrawTextW, which realises the new font
    STEP_WEEK_TEXT,      // week numbers
    STEP_HEADER_TEXT,    // weekday initials
    STEP_DAY_TEXT,       // day numbers, today's included
    STEP_TITLE_TEXT,     // the title
    STEP_RUN_TEXT,       // ExtTextOutW: the header, and texts drawn in runs of two fonts
    STEP_CENTRING,       // GetTextExtentPoint32W: where a centred text goes
    STEP_TITLE_FORMAT,   // GetDateFormatW for the title's year
    STEP_HEADER_FORMAT,  // GetDateFormatW for the weekday names
    STEP_NAMES,          // GetLocaleInfoW: month names, shortest day names, the character set
    STEP_GLYPHS,         // GetGlyphIndicesW: whether a font has a text's glyphs
    STEP_NUMBERS,        // wsprintfW
    STEP_QUERIES,        // GetClientRect, GetSysColor, GetParent
    STEP_TRANSFER,       // the final BitBlt
    STEP_RELEASE,        // DeleteObject, DeleteDC
    STEP_COUNT
};

struct BenchStepFigures {
    std::array<double, STEP_COUNT> us{};
    std::array<long, STEP_COUNT> calls{};
};

const char* BenchStepName(int step);

// Routes this program's imports through the wrappers; until Stop, each
// Profile books one paint.
void BenchProfileStart();
void BenchProfileStop();

// Books the calls made while paint runs; width is the client width of the
// painted window, which tells the face fill from today's.
BenchStepFigures BenchProfile(int width, bool weekNumbers, void (*paint)(void*), void* context);

#endif
