// Guard bytes around every heap block the library allocates, so that a write
// outside its record is seen: the library's HeapAlloc and HeapFree are routed
// through wrappers that ask the next hop for 32 more bytes and fill 16 on each
// side with a pattern.
#ifndef CALENDAR_TESTS_RECORD_GUARD_H
#define CALENDAR_TESTS_RECORD_GUARD_H

#include <windows.h>

// Routes the module's HeapAlloc and HeapFree through the guards; the next hop
// is what the import table holds now.
void CalGuardInstall(HMODULE module);

// Blocks whose guard bytes were found changed, at a free or by CalGuardCheck.
long CalGuardDamaged();

// Checks the guards of every live block; the number of live blocks.
long CalGuardCheck();

#endif
