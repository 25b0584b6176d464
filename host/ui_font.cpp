#include "host/ui_font.h"

namespace {

bool HasLatinGlyphs(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return true;  // nothing known to be missing
    HGDIOBJ old = SelectObject(dc, font);
    const wchar_t probe[] = L"AZaz09";
    WORD glyphs[6] = {};
    const bool has = GetGlyphIndicesW(dc, probe, 6, glyphs, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR &&
        [&glyphs] {
            for (WORD g : glyphs)
                if (g == 0xFFFF)
                    return false;
            return true;
        }();
    SelectObject(dc, old);
    DeleteDC(dc);
    return has;
}

}  // namespace

HFONT HostCreateUiFont(LONG weight)
{
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfWeight = weight;
    HFONT made = CreateFontIndirectA(&font);
    if (made == nullptr || HasLatinGlyphs(made))
        return made;
    DeleteObject(made);
    font.lfCharSet = ANSI_CHARSET;
    return CreateFontIndirectA(&font);
}
