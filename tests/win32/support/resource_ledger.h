// Counts the graphics objects, device contexts, menus and heap blocks that
// one module makes and releases, by routing its imports of the functions that
// make and release them through counting wrappers. The platform's own
// per-process counters are not available under Wine, so the tests count
// at the module's boundary instead.
#ifndef CALENDAR_TESTS_RESOURCE_LEDGER_H
#define CALENDAR_TESTS_RESOURCE_LEDGER_H

#include <windows.h>

#include <ostream>

struct CalLedgerCounts {
    long objectsMade;         // DCs, bitmaps, brushes, fonts made by the module
    long objectsReleased;     // of those, deleted or released again
    long heapAllocated;       // HeapAlloc calls that succeeded
    long heapFreed;           // HeapFree calls that succeeded
    long releasedWhileInUse;  // objects deleted while still selected into a DC of the module's
    long dcsReleasedDirty;    // DCs deleted with an object of the module's still selected, or with
                              // their text colour or background mode not put back
    long failedReleases;      // Delete/Release calls that the platform refused
    long classesRegistered;   // RegisterClassA calls
    long menusMade;           // CreatePopupMenu calls that succeeded
    long menusDestroyed;      // of those menus, destroyed again

    long LiveObjects() const { return objectsMade - objectsReleased; }
    long LiveMenus() const { return menusMade - menusDestroyed; }
    long LiveBlocks() const { return heapAllocated - heapFreed; }
};

// Routes the module's imports through the ledger; call once per module.
void CalLedgerInstall(HMODULE module);

// The counts so far, over every module the ledger watches.
CalLedgerCounts CalLedgerSnapshot();

// What changed between two snapshots.
CalLedgerCounts operator-(const CalLedgerCounts& after, const CalLedgerCounts& before);

std::ostream& operator<<(std::ostream& os, const CalLedgerCounts& c);

#endif
