// The library's process-wide state: the two instance handles every other
// file relies on, and the tool type's registration.
#ifndef CALENDAR_PLUGIN_MODULE_H
#define CALENDAR_PLUGIN_MODULE_H

#include "plugin/caltool.h"

// The library's own module instance, recorded when the loader attaches the
// library; every string, bitmap and dialog template is loaded from it.
extern HINSTANCE g_moduleInstance;

// The host's instance handle from the latest EnumeratePanelTypes call; the
// window class, tool windows and spinners are created under it.
extern HINSTANCE g_hostInstance;

// The atom of the registered class "CalTool", 0 until a registration succeeded.
extern DWORD g_classAtom;

// Panel types handed out by EnumeratePanelTypes: 0 or 1.
extern LONG g_typesEnumerated;

// The one descriptor; its address is what InitCalToolType hands out.
extern CalToolTypeInfo g_toolTypeInfo;

// The name of the tool window class.
inline constexpr char CAL_TOOL_CLASS[] = "CalTool";

#endif
