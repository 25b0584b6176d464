#include "view/text_font.h"

#include <initializer_list>

#include "tool/tool_settings.h"
#include "view/text_units.h"

namespace {

bool NeedsGlyph(wchar_t c);

// Where in text the first character is that the font selected into dc has
// no glyph for, or -1.
int FirstMissing(HDC dc, const wchar_t* text, int length)
{
    WORD glyphs[64];
    for (int start = 0; start < length; start += 64) {
        const int n = length - start < 64 ? length - start : 64;
        if (GetGlyphIndicesW(dc, text + start, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
            return -1;  // nothing known to be missing
        for (int i = 0; i < n; ++i)
            if (glyphs[i] == 0xFFFF && NeedsGlyph(text[start + i]))
                return start + i;
    }
    return -1;
}

// Characters no font needs a glyph for: blanks, and the joiners and
// variation selectors that only shape their neighbours.
bool NeedsGlyph(wchar_t c)
{
    return c != L' ' && c != 0x00A0 && c != 0x200C && c != 0x200D && !(c >= 0xFE00 && c <= 0xFE0F) &&
        !(c >= 0xD800 && c <= 0xDFFF);
}

// The character set of the user's locale's script (Hebrew, Thai, ...), or
// DEFAULT_CHARSET where it has none of its own.
BYTE LocaleCharset()
{
    DWORD codePage = 0;
    CHARSETINFO info{};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
            reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(wchar_t)) == 0 ||
        !TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(codePage)), &info, TCI_SRCCODEPAGE))
        return DEFAULT_CHARSET;
    return static_cast<BYTE>(info.ciCharset);
}

// A font made from model, tried in dc: kept if it has text's glyphs.
HFONT FontWithGlyphs(HDC dc, const LOGFONTA& model, const wchar_t* text, int length)
{
    HFONT font = CalCreateStoredFont(model);
    if (font == nullptr)
        return nullptr;
    HGDIOBJ previous = SelectObject(dc, font);
    const bool has = previous != nullptr && CalFontHasGlyphs(dc, text, length);
    if (previous != nullptr)
        SelectObject(dc, previous);
    if (has)
        return font;
    DeleteObject(font);
    return nullptr;
}

struct FaceSearch {
    HDC dc;
    const LOGFONTA* model;
    const wchar_t* text;
    int length;
    HFONT found;
};

int CALLBACK TryFace(const LOGFONTA* face, const TEXTMETRICA*, DWORD type, LPARAM data)
{
    FaceSearch& search = *reinterpret_cast<FaceSearch*>(data);
    // Scalable faces only, and none of the vertical ('@') ones.
    if ((type & TRUETYPE_FONTTYPE) == 0 || face->lfFaceName[0] == '@')
        return 1;
    LOGFONTA model = *search.model;
    CopyMemory(model.lfFaceName, face->lfFaceName, sizeof model.lfFaceName);
    model.lfCharSet = face->lfCharSet;
    search.found = FontWithGlyphs(search.dc, model, search.text, search.length);
    return search.found == nullptr ? 1 : 0;
}

// The faces found by searching every installed one, by the Unicode block
// (128 code units) of the first character the tool's font lacks: the search
// takes milliseconds, a look here none. Kept for the life of the process.
struct FoundFace {
    wchar_t block;
    BYTE charset;
    char face[LF_FACESIZE];
};
FoundFace g_foundFaces[8];
int g_foundCount = 0;

const FoundFace* KnownFace(wchar_t block)
{
    for (int i = 0; i < g_foundCount; ++i)
        if (g_foundFaces[i].block == block)
            return &g_foundFaces[i];
    return nullptr;
}

// The first installed face that has every glyph of text, remembered (also
// when there is none) for the texts of its block that follow.
HFONT SearchFaces(HDC dc, const LOGFONTA& stored, const wchar_t* text, int length, wchar_t missing)
{
    const wchar_t block = static_cast<wchar_t>(missing & ~0x7F);
    if (const FoundFace* known = KnownFace(block)) {
        if (known->face[0] == '\0')
            return nullptr;
        LOGFONTA model = stored;
        CopyMemory(model.lfFaceName, known->face, sizeof model.lfFaceName);
        model.lfCharSet = known->charset;
        if (HFONT font = FontWithGlyphs(dc, model, text, length))
            return font;
    }
    FaceSearch search{dc, &stored, text, length, nullptr};
    LOGFONTA every{};
    every.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &every, TryFace, reinterpret_cast<LPARAM>(&search), 0);
    if (KnownFace(block) == nullptr && g_foundCount < 8) {
        FoundFace& found = g_foundFaces[g_foundCount++];
        found = FoundFace{block, DEFAULT_CHARSET, ""};
        LOGFONTA chosen{};
        if (search.found != nullptr && GetObjectA(search.found, sizeof chosen, &chosen) == sizeof chosen) {
            CopyMemory(found.face, chosen.lfFaceName, sizeof found.face);
            found.charset = chosen.lfCharSet;
        }
    }
    return search.found;
}

// The fallback for a text the tool's font cannot show, in the platform's
// order: the same face for the locale's character set, then for the
// default one, then the first installed face that has every glyph.
HFONT FindFallback(HDC dc, const LOGFONTA& stored, const wchar_t* text, int length)
{
    const int missing = FirstMissing(dc, text, length);
    if (missing < 0)
        return nullptr;
    LOGFONTA model = stored;
    for (BYTE charset : {LocaleCharset(), BYTE{DEFAULT_CHARSET}}) {
        if (charset == stored.lfCharSet)
            continue;
        model.lfCharSet = charset;
        if (HFONT font = FontWithGlyphs(dc, model, text, length))
            return font;
    }
    return SearchFaces(dc, stored, text, length, text[missing]);
}

bool OnlyDigits(const wchar_t* text, int length)
{
    for (int i = 0; i < length; ++i)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    return true;
}

// The numbers of a month are most of its texts: the digits are asked about
// once a paint, not once a number.
bool HasGlyphs(CalTextFonts& fonts, const wchar_t* text, int length)
{
    if (!OnlyDigits(text, length))
        return CalFontHasGlyphs(fonts.dc, text, length);
    if (fonts.digits < 0)
        fonts.digits = CalFontHasGlyphs(fonts.dc, L"0123456789", 10) ? 1 : 0;
    return fonts.digits != 0;
}

}  // namespace

bool CalFontHasGlyphs(HDC dc, const wchar_t* text, int length)
{
    return FirstMissing(dc, text, length) < 0;
}

void CalBeginTexts(CalTextFonts& fonts, HDC dc, const LOGFONTA& stored)
{
    fonts.dc = dc;
    fonts.stored = stored;
    fonts.fallback = nullptr;
    fonts.triedFallback = false;
    fonts.digits = -1;
}

int CalDrawText(CalTextFonts& fonts, const wchar_t* text, int length, RECT* rect, UINT flags)
{
    if (length < 0)
        length = lstrlenW(text);
    if (HasGlyphs(fonts, text, length))
        return DrawTextW(fonts.dc, text, length, rect, flags);
    if (!fonts.triedFallback) {
        fonts.triedFallback = true;
        fonts.fallback = FindFallback(fonts.dc, fonts.stored, text, length);
    }
    HGDIOBJ own = fonts.fallback != nullptr ? SelectObject(fonts.dc, fonts.fallback) : nullptr;
    const int result = DrawTextW(fonts.dc, text, length, rect, flags);
    if (own != nullptr)
        SelectObject(fonts.dc, own);
    return result;
}

void CalEndTexts(CalTextFonts& fonts)
{
    if (fonts.fallback != nullptr)
        DeleteObject(fonts.fallback);
    fonts.fallback = nullptr;
}
