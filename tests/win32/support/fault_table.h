// What each platform function the library may import returns when it fails,
// and how it is called: the table the fault injector fails calls from. A
// function missing here cannot be failed, and the injector reports it.
#ifndef CALENDAR_TESTS_FAULT_TABLE_H
#define CALENDAR_TESTS_FAULT_TABLE_H

#include <windows.h>

enum class CalFaultKind {
    Fails,     // failed by returning failValue with the last error set
    Void,      // returns nothing: counted, never failed
    Pure,      // memory, string or table look-up with no failure of its own: counted only
    Releases,  // gives back a handle or memory: counted only (see the injector's header)
    Answer,    // its result is an answer, not a success flag (DefWindowProcA): counted only
    Data,      // an imported variable, not a function: bound, never routed
};

struct CalFaultEntry {
    const char* name;
    DWORD argBytes;  // the bytes of arguments a __stdcall callee removes; 0 for __cdecl
    CalFaultKind kind;
    DWORD failValue;
    DWORD lastError;
};

// The entry of a function by name (case-sensitive, as imported),
// or null when the table does not know it.
const CalFaultEntry* CalFaultFind(const char* name);

#endif
