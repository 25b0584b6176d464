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
    DWORD major = 0;
    DWORD minor = 0;
    std::string file;
};

// For the module whose import table names comctl32 (the built library, or a
// test program that links the library's objects).
CalComctlGeneration CalTestComctlGeneration(HMODULE library);

#endif
