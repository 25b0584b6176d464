// What the process holds of its heap and of graphics objects, counted by
// the platform's own tables rather than at a module's boundary.
#ifndef CALENDAR_TESTS_PROCESS_RESOURCES_H
#define CALENDAR_TESTS_PROCESS_RESOURCES_H

#include <windows.h>

#include <vector>

// Busy blocks and bytes of the process heap, walked with HeapWalk.
struct CalHeapTotals {
    long blocks = 0;
    long long bytes = 0;
    bool walked = false;  // HeapWalk ran to its end
};
CalHeapTotals CalProcessHeapTotals();

// Live graphics objects of the process: the entries of the platform's
// handle table that answer GetObjectType. Under Wine a handle with a zero
// upper half names its table entry whatever the entry's generation, so
// probing every index counts the whole table.
long CalLiveGraphicsObjects();

// The object type (OBJ_BRUSH, OBJ_DC, ...) of every entry of that table, 0
// for a free one: what two of them differ in names what was left behind.
std::vector<DWORD> CalGraphicsTable();

#endif
