#include "tool/tool_settings.h"

#include <cstring>

void CalSetDefaultSettings(CalToolSettings* settings)
{
    // Zero first: every byte the defaults do not name is zero in a stored block.
    std::memset(settings, 0, sizeof *settings);
    settings->weekNumbers = 0;
    settings->firstDay = 0;
    settings->font.lfHeight = -9;
    settings->font.lfWeight = FW_NORMAL;
    std::strcpy(settings->font.lfFaceName, "Arial");
    settings->useBackground = 0;
}

LONG CalDefaultFontHeight(UINT dpi)
{
    return -MulDiv(9, static_cast<int>(dpi), 96);
}
