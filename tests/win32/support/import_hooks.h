// Routes one module's calls of an imported function through a replacement,
// by rewriting the module's import address table.
#ifndef CALENDAR_TESTS_IMPORT_HOOKS_H
#define CALENDAR_TESTS_IMPORT_HOOKS_H

#include <windows.h>

// Replaces module's import of dll!function by replacement. Returns the
// address it replaced, or null when module does not import that function.
void* CalTestPatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

#endif
