#include "view/text_font.h"

#include <algorithm>
#include <initializer_list>

#include "view/face_choice.h"
#include "view/text_units.h"

namespace {

// The longest text drawn or measured: titles and names hold at most 19
// units, the digit rows of the preferred size 23.
constexpr int kLongest = 64;

// Characters no font needs a glyph for: blanks, and the joiners and
// variation selectors that only shape their neighbours.
bool NeedsGlyph(wchar_t c)
{
    return c != L' ' && c != 0x00A0 && c != 0x200C && c != 0x200D && !(c >= 0xFE00 && c <= 0xFE0F) &&
        !(c >= 0xD800 && c <= 0xDFFF);
}

// Marks in lacks[i] whether the font selected into dc has no glyph for
// text[i], length at most kLongest. Returns how many it lacks; none when the
// platform cannot tell.
int MarkLacking(HDC dc, const wchar_t* text, int length, bool (&lacks)[kLongest])
{
    WORD glyphs[kLongest];
    if (GetGlyphIndicesW(dc, text, length, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return 0;
    int count = 0;
    for (int i = 0; i < length; ++i) {
        lacks[i] = glyphs[i] == 0xFFFF && NeedsGlyph(text[i]);
        count += lacks[i] ? 1 : 0;
    }
    return count;
}

bool HasAll(HDC dc, const wchar_t* text, int length)
{
    bool lacks[kLongest];
    for (int start = 0; start < length; start += kLongest) {
        const int n = length - start < kLongest ? length - start : kLongest;
        if (MarkLacking(dc, text + start, n, lacks) > 0)
            return false;
    }
    return true;
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

// Whether font, selected into dc for the question, has every glyph of text.
bool FontHas(HDC dc, HFONT font, const wchar_t* text, int length)
{
    HGDIOBJ previous = SelectObject(dc, font);
    if (previous == nullptr)
        return false;
    const bool has = HasAll(dc, text, length);
    SelectObject(dc, previous);
    return has;
}

// The line of the font selected into dc; nothing known when the platform
// cannot tell.
CalFaceLine LineOf(HDC dc)
{
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(dc, &metrics))
        return CalFaceLine{0, 0};
    return CalFaceLine{metrics.tmHeight, metrics.tmHeight - metrics.tmInternalLeading};
}

// The fonts found with every glyph of a text, in the platform's order of
// preference, with their lines: what the choice by size chooses among. They
// are tried in a surface of their own, which is let go before they are
// deleted: none is deleted while selected, whatever selection failed.
struct Candidates {
    static constexpr int kMost = 8;
    HDC dc = nullptr;
    HGDIOBJ original = nullptr;  // the surface's own font
    HFONT font[kMost];
    CalFaceLine line[kMost];
    int count = 0;
    HFONT stuck[kMost];  // fonts the surface would not give back
    int stuckCount = 0;
};

// A font tried and not kept: deleted once it is no longer selected.
void Drop(Candidates& c, HFONT font, HGDIOBJ previous)
{
    if (SelectObject(c.dc, previous) != nullptr)
        DeleteObject(font);
    else if (c.stuckCount < Candidates::kMost)
        c.stuck[c.stuckCount++] = font;
}

// Makes a font from model and keeps it as a candidate if it has every glyph
// of text. Returns whether it is one in proportion: the first such ends the
// search. Once the list is full, only one in proportion gets in, in place of
// the last.
bool Consider(Candidates& c, const LOGFONTA& model, const wchar_t* text, int length)
{
    HFONT font = c.dc != nullptr ? CalCreateStoredFont(model) : nullptr;
    if (font == nullptr)
        return false;
    HGDIOBJ previous = SelectObject(c.dc, font);
    if (previous == nullptr) {
        DeleteObject(font);
        return false;
    }
    if (c.original == nullptr)
        c.original = previous;
    const bool has = HasAll(c.dc, text, length);
    const CalFaceLine line = has ? LineOf(c.dc) : CalFaceLine{};
    const bool fits = has && CalLineInProportion(line);
    if (has && c.count == Candidates::kMost && fits)
        DeleteObject(c.font[--c.count]);  // selected no longer: this one is
    if (!has || c.count == Candidates::kMost) {
        Drop(c, font, previous);
        return false;
    }
    c.font[c.count] = font;
    c.line[c.count++] = line;
    return fits;
}

// The candidate chosen by size (view/face_choice), or null; the surface goes
// first, then every other font. Its line goes to line when asked for.
HFONT Choose(Candidates& c, CalFaceLine* line)
{
    const int chosen = CalChooseFace(c.line, c.count);
    if (c.original != nullptr)
        SelectObject(c.dc, c.original);
    if (c.dc != nullptr)
        DeleteDC(c.dc);
    for (int i = 0; i < c.count; ++i)
        if (i != chosen)
            DeleteObject(c.font[i]);
    for (int i = 0; i < c.stuckCount; ++i)
        DeleteObject(c.stuck[i]);
    if (chosen < 0)
        return nullptr;
    if (line != nullptr)
        *line = c.line[chosen];
    return c.font[chosen];
}

struct FaceSearch {
    const LOGFONTA* model;
    const wchar_t* text;
    int length;
    Candidates* found;
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
    return Consider(*search.found, model, search.text, search.length) ? 0 : 1;
}

// The faces found by searching every installed one, by the Unicode block
// (128 code units) of the characters looked for: the search takes
// milliseconds, a look here none. Kept for the life of the process (a face
// installed later is seen once its block's slot is taken by another); a
// block no face was found for is kept too, so that it is not searched at
// every paint.
struct FoundFace {
    wchar_t block;
    BYTE charset;
    char face[LF_FACESIZE];
};
FoundFace g_foundFaces[8];
int g_foundCount = 0;
int g_foundNext = 0;  // the slot a ninth block takes: the one kept longest

const FoundFace* KnownFace(wchar_t block)
{
    for (int i = 0; i < g_foundCount; ++i)
        if (g_foundFaces[i].block == block)
            return &g_foundFaces[i];
    return nullptr;
}

wchar_t BlockOf(wchar_t c)
{
    return static_cast<wchar_t>(c & ~0x7F);
}

// Keeps the face a search chose for block, or that none was found.
void Remember(wchar_t block, HFONT chosen)
{
    FoundFace& found = g_foundFaces[g_foundCount < 8 ? g_foundCount++ : g_foundNext];
    if (g_foundCount == 8)
        g_foundNext = (g_foundNext + 1) % 8;
    found = FoundFace{block, DEFAULT_CHARSET, ""};
    LOGFONTA face{};
    if (chosen != nullptr && GetObjectA(chosen, sizeof face, &face) == sizeof face) {
        CopyMemory(found.face, face.lfFaceName, sizeof found.face);
        found.charset = face.lfCharSet;
    }
}

// Adds the installed faces that have every glyph of text: the one found for
// its block before, where it has them, else those of a search of every
// installed face, in the platform's order, up to the first in proportion.
// What a search chooses is remembered for the texts of its block that follow.
void SearchFaces(HDC dc, const LOGFONTA& stored, const wchar_t* text, int length, Candidates& c)
{
    const wchar_t block = BlockOf(text[0]);
    const int before = c.count;
    if (const FoundFace* known = KnownFace(block)) {
        if (known->face[0] == '\0')
            return;
        LOGFONTA model = stored;
        CopyMemory(model.lfFaceName, known->face, sizeof model.lfFaceName);
        model.lfCharSet = known->charset;
        Consider(c, model, text, length);
        if (c.count > before)
            return;
    }
    FaceSearch search{&stored, text, length, &c};
    LOGFONTA every{};
    every.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &every, TryFace, reinterpret_cast<LPARAM>(&search), 0);
    if (KnownFace(block) == nullptr) {
        const int chosen = CalChooseFace(c.line + before, c.count - before);
        Remember(block, chosen >= 0 ? c.font[before + chosen] : nullptr);
    }
}

// A font for the characters the tool's font lacks, in the platform's order:
// the same face for the locale's character set, then for the default one,
// then the installed faces that have them all; of those, the first in
// proportion, else the one least out of it. Its line goes to line when asked for.
HFONT FindFallback(HDC dc, const LOGFONTA& stored, const wchar_t* lacking, int length, CalFaceLine* line = nullptr)
{
    Candidates c;
    c.dc = CreateCompatibleDC(dc);
    LOGFONTA model = stored;
    bool found = false;
    for (BYTE charset : {LocaleCharset(), BYTE{DEFAULT_CHARSET}}) {
        if (found || charset == stored.lfCharSet)
            continue;
        model.lfCharSet = charset;
        found = Consider(c, model, lacking, length);
    }
    if (!found && c.dc != nullptr)
        SearchFaces(dc, stored, lacking, length, c);
    return Choose(c, line);
}

// A font of the texts done with: deleted by CalFreeTexts, once the surface
// it may still be selected into (a selection refused) has gone.
void Retire(CalTextFonts& fonts, HFONT font)
{
    if (font == nullptr)
        return;
    if (fonts.retiredCount < CalTextFonts::kRetired)
        fonts.retired[fonts.retiredCount++] = font;
    else
        DeleteObject(font);
}

// The paint's fallback for the characters lacking: the one it has if that
// has them, else one found anew.
HFONT FallbackFor(CalTextFonts& fonts, const wchar_t* lacking, int length)
{
    if (fonts.fallback != nullptr && FontHas(fonts.dc, fonts.fallback, lacking, length))
        return fonts.fallback;
    if (BlockOf(lacking[0]) == fonts.unfound)
        return nullptr;
    HFONT found = FindFallback(fonts.dc, fonts.stored, lacking, length);
    if (found == nullptr) {
        fonts.unfound = BlockOf(lacking[0]);
        return nullptr;
    }
    Retire(fonts, fonts.fallback);
    fonts.fallback = found;
    return found;
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
bool OwnHasAll(CalTextFonts& fonts, const wchar_t* text, int length)
{
    if (!OnlyDigits(text, length))
        return HasAll(fonts.dc, text, length);
    if (fonts.digits < 0)
        fonts.digits = HasAll(fonts.dc, L"0123456789", 10) ? 1 : 0;
    return fonts.digits != 0;
}

// A text centred in its cell, placed exactly where DrawTextW places a
// single centred line (the same rounding, checked pixel for pixel over
// every cell size and both layouts) but drawn with ExtTextOutW, without
// DrawTextW's layout work: the numbers and the header are most of a month.
int DrawCentred(HDC dc, const wchar_t* text, int length, const RECT* rect)
{
    SIZE size{};
    if (!GetTextExtentPoint32W(dc, text, length, &size))
        return DrawTextW(dc, text, length, const_cast<RECT*>(rect), DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    const int x = (rect->left + rect->right - size.cx) / 2;
    const int y = (rect->top + rect->bottom) / 2 - size.cy / 2;
    ExtTextOutW(dc, x, y, ETO_CLIPPED, rect, text, static_cast<UINT>(length), nullptr);
    return size.cy;
}

int DrawIn(HDC dc, HFONT font, const wchar_t* text, int length, RECT* rect, UINT flags)
{
    HGDIOBJ own = SelectObject(dc, font);
    const int height = DrawTextW(dc, text, length, rect, flags);
    if (own != nullptr)
        SelectObject(dc, own);
    return height;
}

// One line made of runs in two fonts, each character in the tool's font
// unless it lacks it: measured as a whole, placed as DrawTextW places a
// single line (centred as the flags ask), the runs on one baseline.
int DrawRuns(HDC dc, HFONT fallback, const wchar_t* text, int length, const bool (&lacks)[kLongest],
    RECT* rect, UINT flags)
{
    HGDIOBJ own = SelectObject(dc, fallback);
    if (own == nullptr)
        return DrawTextW(dc, text, length, rect, flags);
    TEXTMETRICW metrics[2]{};  // the tool's font, the fallback
    GetTextMetricsW(dc, &metrics[1]);
    SelectObject(dc, own);
    GetTextMetricsW(dc, &metrics[0]);
    LONG ascent = 0;
    LONG descent = 0;
    int width = 0;
    int runWidth[kLongest];
    for (int start = 0, end = 0; start < length; start = end) {
        for (end = start + 1; end < length && lacks[end] == lacks[start];)
            ++end;
        const TEXTMETRICW& m = metrics[lacks[start] ? 1 : 0];
        ascent = m.tmAscent > ascent ? m.tmAscent : ascent;
        descent = m.tmDescent > descent ? m.tmDescent : descent;
        SIZE size{};
        SelectObject(dc, lacks[start] ? static_cast<HGDIOBJ>(fallback) : own);
        GetTextExtentPoint32W(dc, text + start, end - start, &size);
        runWidth[start] = size.cx;
        width += size.cx;
    }
    const int height = ascent + descent;
    if ((flags & DT_CALCRECT) != 0) {
        rect->right = rect->left + width;
        rect->bottom = rect->top + height;
    } else {
        int x = rect->left + ((flags & DT_CENTER) != 0 ? (rect->right - rect->left - width) / 2 : 0);
        const int top = rect->top + ((flags & DT_VCENTER) != 0 ? (rect->bottom - rect->top - height) / 2 : 0);
        const UINT align = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        for (int start = 0, end = 0; start < length; start = end) {
            for (end = start + 1; end < length && lacks[end] == lacks[start];)
                ++end;
            SelectObject(dc, lacks[start] ? static_cast<HGDIOBJ>(fallback) : own);
            ExtTextOutW(dc, x, top + ascent, ETO_CLIPPED, rect, text + start, static_cast<UINT>(end - start), nullptr);
            x += runWidth[start];
        }
        if (align != GDI_ERROR)
            SetTextAlign(dc, align);
    }
    SelectObject(dc, own);
    return height;
}

}  // namespace

HFONT CalCreateStoredFont(const LOGFONTA& font)
{
    // Glyphs tens of thousands of units tall and wide take the platform
    // seconds, or for ever, to draw: a damaged block must not stall the
    // host's paints.
    constexpr LONG kLargest = 1000;
    LOGFONTA copy = font;
    copy.lfFaceName[LF_FACESIZE - 1] = '\0';
    copy.lfHeight = std::clamp(copy.lfHeight, -kLargest, kLargest);
    copy.lfWidth = std::clamp(copy.lfWidth, -kLargest, kLargest);
    return CreateFontIndirectA(&copy);
}

LOGFONTA CalBoldFont(const LOGFONTA& font)
{
    LOGFONTA bold = font;
    bold.lfWeight = font.lfWeight >= FW_BOLD ? FW_HEAVY : FW_BOLD;
    return bold;
}

void CalBeginTexts(CalTextFonts& fonts, HDC dc, const LOGFONTA& stored)
{
    fonts.dc = dc;
    fonts.stored = stored;
    fonts.fallback = nullptr;
    fonts.digits = -1;
    fonts.unfound = 0xFFFF;
    fonts.own = nullptr;
    fonts.ownDisplaced = nullptr;
    fonts.retiredCount = 0;
    // A locale's mapping can give the stored name to a face made for
    // formulas, whose line is several times its letters: the texts are then
    // drawn in a face that is in proportion and has the digits every month
    // shows, as a fallback is chosen.
    if (CalLineInProportion(LineOf(dc)))
        return;
    CalFaceLine line{};
    HFONT own = FindFallback(dc, stored, L"0123456789", 10, &line);
    HGDIOBJ displaced = own != nullptr && CalLineInProportion(line) ? SelectObject(dc, own) : nullptr;
    if (displaced == nullptr) {
        if (own != nullptr)
            DeleteObject(own);
        return;
    }
    fonts.own = own;
    fonts.ownDisplaced = displaced;
}

int CalDrawText(CalTextFonts& fonts, const wchar_t* text, int length, RECT* rect, UINT flags)
{
    if (length < 0)
        length = lstrlenW(text);
    if (length > kLongest || OwnHasAll(fonts, text, length)) {
        if (flags == (DT_SINGLELINE | DT_VCENTER | DT_CENTER) && length > 0)
            return DrawCentred(fonts.dc, text, length, rect);
        return DrawTextW(fonts.dc, text, length, rect, flags);
    }
    bool lacks[kLongest];
    wchar_t lacking[kLongest];
    int count = 0;
    MarkLacking(fonts.dc, text, length, lacks);
    for (int i = 0; i < length; ++i) {
        // A mark goes with the letter it sits on, in the same font.
        if (i > 0 && CalIsCombining(static_cast<uint16_t>(text[i])))
            lacks[i] = lacks[i - 1];
        if (lacks[i])
            lacking[count++] = text[i];
    }
    HFONT fallback = count > 0 ? FallbackFor(fonts, lacking, count) : nullptr;
    if (fallback == nullptr)  // nothing better than the tool's own font
        return DrawTextW(fonts.dc, text, length, rect, flags);
    if (FontHas(fonts.dc, fallback, text, length))
        return DrawIn(fonts.dc, fallback, text, length, rect, flags);
    return DrawRuns(fonts.dc, fallback, text, length, lacks, rect, flags);
}

void CalEndTexts(CalTextFonts& fonts)
{
    if (fonts.own != nullptr)
        SelectObject(fonts.dc, fonts.ownDisplaced);
    Retire(fonts, fonts.fallback);
    Retire(fonts, fonts.own);
    fonts.fallback = nullptr;
    fonts.own = nullptr;
}

void CalFreeTexts(CalTextFonts& fonts)
{
    for (int i = 0; i < fonts.retiredCount; ++i)
        DeleteObject(fonts.retired[i]);
    fonts.retiredCount = 0;
}
