// The settings block of a tool: its defaults for a new tool, and its
// default font's height on a screen.
#ifndef CALENDAR_TOOL_TOOL_SETTINGS_H
#define CALENDAR_TOOL_TOOL_SETTINGS_H

#include "plugin/caltool.h"

// Fills a block with the settings of a new tool: no week numbers, weeks
// starting on Sunday, a 9-unit "Arial" of normal weight, no host background,
// and an all-zero font-chooser record.
void CalSetDefaultSettings(CalToolSettings* settings);

// The default font's height for a screen of dpi dots per inch: 9 pixels at
// 96, as many points on a denser screen (-11 at 120, -14 at 144, -18 at 192),
// in the units of that screen, as the font chooser gives a height.
LONG CalDefaultFontHeight(UINT dpi);

#endif
