// How much longer than usual the tests wait for windows, dialogs and
// processes. Where Windows programs run through an emulator the build sets
// CAL_TIME_SCALE for every test; waits that are deadlines, not measurements,
// stretch by it.
#ifndef CALENDAR_TESTS_TIME_SCALE_H
#define CALENDAR_TESTS_TIME_SCALE_H

#include <windows.h>

#include <cstdlib>

inline DWORD CalTestScaled(DWORD ms)
{
    static const DWORD scale = [] {
        const char* text = std::getenv("CAL_TIME_SCALE");
        const long value = text != nullptr ? std::strtol(text, nullptr, 10) : 1;
        return static_cast<DWORD>(value >= 1 && value <= 100 ? value : 1);
    }();
    return ms * scale;
}

#endif
