#include "tool/tool_settings.h"

#include <algorithm>
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

namespace {

// Glyphs tens of thousands of units tall and wide take the platform seconds,
// or for ever, to draw: a damaged block must not stall the host's paints.
constexpr LONG kLargestFontExtent = 1000;

LONG Bounded(LONG extent)
{
    return std::clamp(extent, -kLargestFontExtent, kLargestFontExtent);
}

}  // namespace

HFONT CalCreateStoredFont(const LOGFONTA& font)
{
    LOGFONTA copy = font;
    copy.lfFaceName[LF_FACESIZE - 1] = '\0';
    copy.lfHeight = Bounded(copy.lfHeight);
    copy.lfWidth = Bounded(copy.lfWidth);
    return CreateFontIndirectA(&copy);
}
