#include "paint_profile.h"

#include <cstdarg>

#include "bench_support.h"
#include "tests/win32/support/import_hooks.h"

namespace {

bool g_on = false;
int g_depth = 0;
int g_width = 0;
bool g_weekNumbers = false;
bool g_textSeen = false;
BenchStepFigures g_figures;

// Times the outermost call only: what the host does inside the background
// request is booked to the request.
template <typename F> auto Timed(int step, F call)
{
    if (!g_on || g_depth > 0)
        return call();
    ++g_depth;
    const double start = BenchNowUs();
    auto result = call();
    g_figures.us[static_cast<std::size_t>(step)] += BenchNowUs() - start;
    ++g_figures.calls[static_cast<std::size_t>(step)];
    --g_depth;
    return result;
}

// The real functions, as the import table held them.
decltype(&CreateCompatibleDC) RealCreateCompatibleDC;
decltype(&CreateCompatibleBitmap) RealCreateCompatibleBitmap;
decltype(&SelectObject) RealSelectObject;
decltype(&DeleteObject) RealDeleteObject;
decltype(&DeleteDC) RealDeleteDC;
decltype(&CreateSolidBrush) RealCreateSolidBrush;
decltype(&CreateFontIndirectA) RealCreateFontIndirectA;
decltype(&SetTextColor) RealSetTextColor;
decltype(&SetBkMode) RealSetBkMode;
decltype(&GetSysColor) RealGetSysColor;
decltype(&GetClientRect) RealGetClientRect;
decltype(&GetParent) RealGetParent;
decltype(&SendMessageA) RealSendMessageA;
decltype(&DrawEdge) RealDrawEdge;
decltype(&FillRect) RealFillRect;
decltype(&DrawTextW) RealDrawTextW;
decltype(&ExtTextOutW) RealExtTextOutW;
decltype(&GetTextExtentPoint32W) RealGetTextExtentPoint32W;
decltype(&GetDateFormatW) RealGetDateFormatW;
decltype(&GetLocaleInfoW) RealGetLocaleInfoW;
decltype(&GetGlyphIndicesW) RealGetGlyphIndicesW;
decltype(&BitBlt) RealBitBlt;

HDC WINAPI HookCreateCompatibleDC(HDC dc)
{
    return Timed(STEP_SURFACE, [&] { return RealCreateCompatibleDC(dc); });
}
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int w, int h)
{
    return Timed(STEP_BITMAP, [&] { return RealCreateCompatibleBitmap(dc, w, h); });
}
HGDIOBJ WINAPI HookSelectObject(HDC dc, HGDIOBJ object)
{
    return Timed(STEP_OBJECTS, [&] { return RealSelectObject(dc, object); });
}
BOOL WINAPI HookDeleteObject(HGDIOBJ object)
{
    return Timed(STEP_RELEASE, [&] { return RealDeleteObject(object); });
}
BOOL WINAPI HookDeleteDC(HDC dc)
{
    return Timed(STEP_RELEASE, [&] { return RealDeleteDC(dc); });
}
HBRUSH WINAPI HookCreateSolidBrush(COLORREF colour)
{
    return Timed(STEP_OBJECTS, [&] { return RealCreateSolidBrush(colour); });
}
HFONT WINAPI HookCreateFontIndirectA(const LOGFONTA* font)
{
    return Timed(STEP_OBJECTS, [&] { return RealCreateFontIndirectA(font); });
}
COLORREF WINAPI HookSetTextColor(HDC dc, COLORREF colour)
{
    return Timed(STEP_OBJECTS, [&] { return RealSetTextColor(dc, colour); });
}
int WINAPI HookSetBkMode(HDC dc, int mode)
{
    return Timed(STEP_OBJECTS, [&] { return RealSetBkMode(dc, mode); });
}
DWORD WINAPI HookGetSysColor(int index)
{
    return Timed(STEP_QUERIES, [&] { return RealGetSysColor(index); });
}
BOOL WINAPI HookGetClientRect(HWND window, LPRECT rect)
{
    return Timed(STEP_QUERIES, [&] { return RealGetClientRect(window, rect); });
}
HWND WINAPI HookGetParent(HWND window)
{
    return Timed(STEP_QUERIES, [&] { return RealGetParent(window); });
}
LRESULT WINAPI HookSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Timed(STEP_BACKGROUND, [&] { return RealSendMessageA(window, message, wParam, lParam); });
}
BOOL WINAPI HookDrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags)
{
    const int step = edge == EDGE_SUNKEN ? STEP_TODAY_EDGE
        : (flags & BF_ADJUST) != 0       ? STEP_FRAME
                                         : STEP_SEPARATOR;
    return Timed(step, [&] { return RealDrawEdge(dc, rect, edge, flags); });
}
int WINAPI HookFillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const int step = rect->right - rect->left == g_width - 4 ? STEP_FACE : STEP_TODAY_FILL;
    return Timed(step, [&] { return RealFillRect(dc, rect, brush); });
}
int WINAPI HookDrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT flags)
{
    int step = STEP_DAY_TEXT;
    if (!g_textSeen)
        step = STEP_FIRST_TEXT;
    else if ((flags & DT_VCENTER) == 0)
        step = STEP_TITLE_TEXT;
    else if (text[0] < L'0' || text[0] > L'9')
        step = STEP_HEADER_TEXT;
    else if (g_weekNumbers && rect->left == 3)
        step = STEP_WEEK_TEXT;
    if (g_on && g_depth == 0)
        g_textSeen = true;
    return Timed(step, [&] { return RealDrawTextW(dc, text, length, rect, flags); });
}
BOOL WINAPI HookExtTextOutW(
    HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx)
{
    // The numbers are drawn with ExtTextOutW too: they keep their own rows.
    int step = STEP_RUN_TEXT;
    if (count > 0 && text[0] >= L'0' && text[0] <= L'9')
        step = g_weekNumbers && rect != nullptr && rect->left == 3 ? STEP_WEEK_TEXT : STEP_DAY_TEXT;
    return Timed(step, [&] { return RealExtTextOutW(dc, x, y, options, rect, text, count, dx); });
}
BOOL WINAPI HookGetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    return Timed(STEP_CENTRING, [&] { return RealGetTextExtentPoint32W(dc, text, count, size); });
}
int WINAPI HookGetDateFormatW(
    LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR picture, LPWSTR out, int size)
{
    const int step = picture != nullptr && picture[0] == L'y' ? STEP_TITLE_FORMAT : STEP_HEADER_FORMAT;
    return Timed(step, [&] { return RealGetDateFormatW(locale, flags, date, picture, out, size); });
}
int WINAPI HookGetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR out, int size)
{
    return Timed(STEP_NAMES, [&] { return RealGetLocaleInfoW(locale, type, out, size); });
}
DWORD WINAPI HookGetGlyphIndicesW(HDC dc, LPCWSTR text, int count, LPWORD glyphs, DWORD flags)
{
    return Timed(STEP_GLYPHS, [&] { return RealGetGlyphIndicesW(dc, text, count, glyphs, flags); });
}
BOOL WINAPI HookBitBlt(HDC to, int x, int y, int w, int h, HDC from, int x1, int y1, DWORD rop)
{
    return Timed(STEP_TRANSFER, [&] { return RealBitBlt(to, x, y, w, h, from, x1, y1, rop); });
}
int WINAPIV HookWsprintfW(LPWSTR out, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = Timed(STEP_NUMBERS, [&] { return wvsprintfW(out, format, args); });
    va_end(args);
    return n;
}

struct Hook {
    const char* dll;
    const char* function;
    void* replacement;
    void** real;
    void* original = nullptr;
};

template <typename T> void** Slot(T& p)
{
    return reinterpret_cast<void**>(&p);
}
template <typename T> void* Address(T f)
{
    return reinterpret_cast<void*>(f);
}

Hook g_hooks[] = {
    {"gdi32.dll", "CreateCompatibleDC", Address(HookCreateCompatibleDC), Slot(RealCreateCompatibleDC)},
    {"gdi32.dll", "CreateCompatibleBitmap", Address(HookCreateCompatibleBitmap),
        Slot(RealCreateCompatibleBitmap)},
    {"gdi32.dll", "SelectObject", Address(HookSelectObject), Slot(RealSelectObject)},
    {"gdi32.dll", "DeleteObject", Address(HookDeleteObject), Slot(RealDeleteObject)},
    {"gdi32.dll", "DeleteDC", Address(HookDeleteDC), Slot(RealDeleteDC)},
    {"gdi32.dll", "CreateSolidBrush", Address(HookCreateSolidBrush), Slot(RealCreateSolidBrush)},
    {"gdi32.dll", "CreateFontIndirectA", Address(HookCreateFontIndirectA), Slot(RealCreateFontIndirectA)},
    {"gdi32.dll", "SetTextColor", Address(HookSetTextColor), Slot(RealSetTextColor)},
    {"gdi32.dll", "SetBkMode", Address(HookSetBkMode), Slot(RealSetBkMode)},
    {"gdi32.dll", "BitBlt", Address(HookBitBlt), Slot(RealBitBlt)},
    {"user32.dll", "GetSysColor", Address(HookGetSysColor), Slot(RealGetSysColor)},
    {"user32.dll", "GetClientRect", Address(HookGetClientRect), Slot(RealGetClientRect)},
    {"user32.dll", "GetParent", Address(HookGetParent), Slot(RealGetParent)},
    {"user32.dll", "SendMessageA", Address(HookSendMessageA), Slot(RealSendMessageA)},
    {"user32.dll", "DrawEdge", Address(HookDrawEdge), Slot(RealDrawEdge)},
    {"user32.dll", "FillRect", Address(HookFillRect), Slot(RealFillRect)},
    {"user32.dll", "DrawTextW", Address(HookDrawTextW), Slot(RealDrawTextW)},
    {"gdi32.dll", "ExtTextOutW", Address(HookExtTextOutW), Slot(RealExtTextOutW)},
    {"gdi32.dll", "GetTextExtentPoint32W", Address(HookGetTextExtentPoint32W), Slot(RealGetTextExtentPoint32W)},
    {"gdi32.dll", "GetGlyphIndicesW", Address(HookGetGlyphIndicesW), Slot(RealGetGlyphIndicesW)},
    {"user32.dll", "wsprintfW", Address(HookWsprintfW), nullptr},
    {"kernel32.dll", "GetDateFormatW", Address(HookGetDateFormatW), Slot(RealGetDateFormatW)},
    {"kernel32.dll", "GetLocaleInfoW", Address(HookGetLocaleInfoW), Slot(RealGetLocaleInfoW)},
};

}  // namespace

const char* BenchStepName(int step)
{
    static const char* const names[STEP_COUNT] = {
        "CreateCompatibleDC (off-screen surface)",
        "CreateCompatibleBitmap (W x H)",
        "brushes, font, selections, colours, mode",
        "background request (host's fill included)",
        "DrawEdge: frame",
        "FillRect: face",
        "DrawEdge: separator",
        "DrawEdge: today",
        "FillRect: today",
        "DrawTextW: first text (realises the font)",
        "ExtTextOutW: week numbers",
        "DrawTextW: weekday header",
        "ExtTextOutW: day numbers",
        "DrawTextW: title",
        "ExtTextOutW: weekday header, texts in runs of two fonts",
        "GetTextExtentPoint32W: centring",
        "GetDateFormatW: the title's year",
        "GetDateFormatW: weekday names",
        "GetLocaleInfoW: month and day names",
        "GetGlyphIndicesW: glyph checks",
        "wsprintfW: numbers",
        "GetClientRect, GetSysColor, GetParent",
        "BitBlt: final transfer",
        "DeleteObject, DeleteDC",
    };
    return step >= 0 && step < STEP_COUNT ? names[step] : "?";
}

void BenchProfileStart()
{
    HMODULE self = GetModuleHandleA(nullptr);
    for (Hook& h : g_hooks) {
        h.original = CalTestPatchImport(self, h.dll, h.function, h.replacement);
        if (h.real != nullptr)
            *h.real = h.original;
    }
}

void BenchProfileStop()
{
    HMODULE self = GetModuleHandleA(nullptr);
    for (Hook& h : g_hooks)
        if (h.original != nullptr)
            CalTestPatchImport(self, h.dll, h.function, h.original);
}

BenchStepFigures BenchProfile(int width, bool weekNumbers, void (*paint)(void*), void* context)
{
    g_figures = BenchStepFigures{};
    g_width = width;
    g_weekNumbers = weekNumbers;
    g_textSeen = false;
    g_on = true;
    paint(context);
    g_on = false;
    return g_figures;
}
