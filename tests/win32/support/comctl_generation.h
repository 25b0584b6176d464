// Which generation of the common controls the library was bound to in this
// process: a test program is built twice, once plain and once with a
// manifest that asks for common controls 6, and each run shows which one it
// really got, so that the two runs of the same tests cover both.
#ifndef CALENDAR_TESTS_COMCTL_GENERATION_H
#define CALENDAR_TESTS_COMCTL_GENERATION_H

#include <windows.h>

#include <string>

// What this build asks for: 6 with the manifest, 5 (the platform's default) without.
#ifndef CAL_TEST_COMCTL_MAJOR
#define CAL_TEST_COMCTL_MAJOR 5
#endif

struct CalComctlGeneration {
    HMODULE module = nullptr;  // the comctl32 that the library's imports are bound to
    DWORD major = 0;           // its DllGetVersion
    DWORD minor = 0;
    std::string file;
    bool fromAssembly6 = false;  // loaded from the side-by-side common controls 6.0 assembly
    // 6 when either says so: Windows' comctl32 6 reports 6.x, Wine's reports
    // 5.81 in both generations and is told apart only by where it came from.
    int generation = 0;
};

// For the module whose import table names comctl32 (the built library, or a
// test program that links the library's objects).
CalComctlGeneration CalTestComctlGeneration(HMODULE library);

#endif
