// Makes the n-th call the library makes of the platform fail, or every call
// from the n-th on, by routing every import of the module through a counting
// thunk. A failed call returns the function's documented failure value with
// the last error set, and the real function is not called.
//
// Release functions (DeleteObject, DeleteDC, ReleaseDC, HeapFree, free,
// DestroyMenu, EndPaint, EndDialog, KillTimer, FreeLibrary) are counted but
// never failed: they fail only for a handle that is not the caller's, never
// for want of a resource, and a caller can do nothing about their failure but
// strand the object. Void functions, pure memory and string routines and the
// calls whose result is an answer rather than a success flag are counted only.
#ifndef CALENDAR_TESTS_FAULT_INJECTION_H
#define CALENDAR_TESTS_FAULT_INJECTION_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Maps the library without resolving its imports and without running its
// entry point. Null when the loader refuses.
HMODULE CalLoadUnresolved(const char* path);

// Binds every import of a module mapped by CalLoadUnresolved to the real
// function; false when a system library or function is missing.
bool CalBindImports(HMODULE module);

// Calls the module's entry point as the loader would; its result.
BOOL CalCallEntry(HMODULE module, DWORD reason);

// Routes every import of module through a counting thunk whose next hop is
// what the import table holds now (so a ledger installed before stays in the
// path). Returns the imported functions the table does not know.
std::vector<std::string> CalFaultInstall(HMODULE module);

// Counts from zero; with failAt 0 nothing fails, otherwise the failAt-th
// failable call fails, and with fromThereOn every one after it too. Only
// calls from the calling thread are counted.
void CalFaultArm(long failAt, bool fromThereOn);

// Stops failing; counting goes on.
void CalFaultDisarm();

struct CalFaultCounts {
    long calls = 0;           // calls of any import since the last arm
    long failable = 0;        // of those, calls of functions that can be failed
    long failed = 0;          // calls that were failed
    std::string firstFailed;  // "Name (call n)" of the first failed call, "" for none
};
CalFaultCounts CalFaultSnapshot();

// Catches access violations and other fatal exceptions anywhere in the
// process: report receives a description naming the failed call, then the
// process ends with exit code 3.
void CalFaultCatchCrashes(std::function<void(const std::string&)> report);

#endif
