// The library's own module instance, recorded when the loader attaches the
// library; every string, bitmap and dialog template is loaded from it.
#ifndef CALENDAR_PLUGIN_MODULE_H
#define CALENDAR_PLUGIN_MODULE_H

#include <windows.h>

extern HINSTANCE g_moduleInstance;

#endif
