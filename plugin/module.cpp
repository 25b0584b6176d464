// The process-wide variables, zero when the library is loaded and never reset.
#include "plugin/module.h"

HINSTANCE g_moduleInstance = nullptr;
HINSTANCE g_hostInstance = nullptr;
DWORD g_classAtom = 0;
LONG g_typesEnumerated = 0;
CalToolTypeInfo g_toolTypeInfo = {};
