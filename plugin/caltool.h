/* Calendar tool plug-in: the public header for panel hosts.
   The records and message numbers that pass between a host and the tool
   windows of Calendar.dll. Every record has a fixed 32-bit Windows layout,
   checked below when this header is compiled for 32-bit Windows. */
#ifndef CALENDAR_PLUGIN_CALTOOL_H
#define CALENDAR_PLUGIN_CALTOOL_H

#include <windows.h>
#include <commdlg.h>
#include <stddef.h>

#include "cal_protocol.h"

/* The settings block the host stores and hands back, 132 bytes. To a host it
   is opaque; chooseFont holds a window handle and addresses that the tool
   sets afresh before every use, so a stored block is sound in a later run. */
typedef struct CalToolSettings {
    LONG weekNumbers;       /* 0: no week-number column; non-zero: shown */
    LONG firstDay;          /* first day of the week, 0 = Sunday ... 6 = Saturday */
    CHOOSEFONTA chooseFont; /* the record handed to the font chooser */
    LOGFONTA font;          /* the font the user chose */
    LONG useBackground;     /* non-zero: the host paints its background behind the calendar */
} CalToolSettings;

/* The tool-type descriptor a host receives: 108 bytes, no padding. */
typedef struct CalToolTypeInfo {
    char name[20];        /* display name, NUL-terminated */
    char description[80]; /* NUL-terminated */
    HBITMAP image;        /* 16 x 16 image */
    HBITMAP mask;         /* 16 x 16 mask: 1 where the image is transparent */
} CalToolTypeInfo;

/* The record whose address CTN_PAINTBACKGROUND carries, 36 bytes, valid for
   the call only: the host paints its background into dc over rect. */
typedef struct CalBackgroundRequest {
    HWND window;       /* the tool window that asks */
    HDC dc;            /* the tool's off-screen surface */
    RECT rect;         /* the rectangle to paint, in dc coordinates */
    DWORD reserved[3]; /* always 0 */
} CalBackgroundRequest;

/* One month's marked days: bit n - 1 of days marks day n, drawn in bold.
   CTN_GETDAYMARKS hands the host one with year and month set and days 0, to
   fill; CTM_SETDAYMARKS hands the tool an array of them, which it copies.
   Bits past the month's last day are ignored. 12 bytes. */
typedef struct CalDayMarks {
    LONG year;  /* 1601 ... 9999 */
    LONG month; /* 1 ... 12 */
    DWORD days;
} CalDayMarks;

/* The record whose address CTN_GETDAYTEXT carries, 12 bytes, valid for the
   call only: the host writes at most capacity - 1 characters and a 0 into
   text for the day named by date (CalPackDate). */
typedef struct CalDayText {
    DWORD date;
    WCHAR *text;
    LONG capacity;
} CalDayText;

/* The library's four exports, under these plain names. Every argument and
   result is 32 bits wide, and all four use the platform's standard calling
   convention (__stdcall, WINAPI): the callee removes the arguments. A host
   learns the names of the last three from EnumeratePanelTypes and resolves
   them with GetProcAddress; the pointer types below are for that. */
#define CALTOOLAPI WINAPI

/* Describes the library's one panel type on the first call (result 1: the
   three buffers, of at least 16, 14 and 15 bytes, receive the names of the
   type's init, create and clean-up entry points); later calls return 0.
   Every call records hostInstance, under which tool windows are created.
   The last argument is ignored. */
typedef LONG(CALTOOLAPI* CalEnumeratePanelTypesProc)(
    char* initName, char* createName, char* cleanupName, HINSTANCE hostInstance, LPARAM unused);

/* Registers the tool window class (once) and stores at *infoOut the address
   of the type's descriptor, the same address on every call. The second
   argument is ignored. */
typedef void(CALTOOLAPI* CalInitToolTypeProc)(CalToolTypeInfo** infoOut, LPARAM unused);

/* Creates a calendar tool window in parent at rect (parent client
   coordinates), with the given settings block or, for null, the defaults.
   Returns the window, or null. The last two arguments are ignored. */
typedef HWND(CALTOOLAPI* CalToolCreateProc)(
    HWND parent, const RECT* rect, const CalToolSettings* settings, LPARAM unused1, LPARAM unused2);

/* Does nothing; the class and the descriptor's bitmaps stay while the
   library is loaded. The argument is ignored. */
typedef void(CALTOOLAPI* CalToolCleanupProc)(LPARAM unused);

#ifdef __cplusplus
extern "C" {
#endif
LONG CALTOOLAPI EnumeratePanelTypes(
    char* initName, char* createName, char* cleanupName, HINSTANCE hostInstance, LPARAM unused);
void CALTOOLAPI InitCalToolType(CalToolTypeInfo** infoOut, LPARAM unused);
HWND CALTOOLAPI CalToolCreate(
    HWND parent, const RECT* rect, const CalToolSettings* settings, LPARAM unused1, LPARAM unused2);
void CALTOOLAPI CalToolCleanup(LPARAM unused);
#ifdef __cplusplus
}
#endif

#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
#define CAL_LAYOUT_CHECK(cond, what) static_assert(cond, what)
#else
#define CAL_LAYOUT_CHECK(cond, what) _Static_assert(cond, what)
#endif
CAL_LAYOUT_CHECK(CAL_WM_USER == WM_USER, "messages are numbered from WM_USER");
CAL_LAYOUT_CHECK(sizeof(CalToolSettings) == CAL_SETTINGS_SIZE, "settings block is 132 bytes");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, weekNumbers) == 0, "weekNumbers at 0");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, firstDay) == 4, "firstDay at 4");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont) == 8, "chooseFont at 8");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font) == 68, "font at 68");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, useBackground) == 128, "useBackground at 128");
CAL_LAYOUT_CHECK(sizeof(CHOOSEFONTA) == 60, "CHOOSEFONTA is 60 bytes");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.lStructSize) == 8, "lStructSize at 8");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.hwndOwner) == 12, "hwndOwner at 12");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.hDC) == 16, "hDC at 16");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.lpLogFont) == 20, "lpLogFont at 20");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.iPointSize) == 24, "iPointSize at 24");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.Flags) == 28, "Flags at 28");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.rgbColors) == 32, "rgbColors at 32");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.lCustData) == 36, "lCustData at 36");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.lpfnHook) == 40, "lpfnHook at 40");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.lpTemplateName) == 44, "lpTemplateName at 44");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.hInstance) == 48, "hInstance at 48");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.lpszStyle) == 52, "lpszStyle at 52");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.nFontType) == 56, "nFontType at 56");
CAL_LAYOUT_CHECK(
    sizeof(((CalToolSettings*)0)->chooseFont.nFontType) == 2, "nFontType is 16 bits, then an alignment word");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.nSizeMin) == 60, "nSizeMin at 60");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, chooseFont.nSizeMax) == 64, "nSizeMax at 64");
CAL_LAYOUT_CHECK(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfHeight) == 68, "lfHeight at 68");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfWidth) == 72, "lfWidth at 72");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfEscapement) == 76, "lfEscapement at 76");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfOrientation) == 80, "lfOrientation at 80");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfWeight) == 84, "lfWeight at 84");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfItalic) == 88, "lfItalic at 88");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfUnderline) == 89, "lfUnderline at 89");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfStrikeOut) == 90, "lfStrikeOut at 90");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfCharSet) == 91, "lfCharSet at 91");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfOutPrecision) == 92, "lfOutPrecision at 92");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfClipPrecision) == 93, "lfClipPrecision at 93");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfQuality) == 94, "lfQuality at 94");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfPitchAndFamily) == 95, "lfPitchAndFamily at 95");
CAL_LAYOUT_CHECK(offsetof(CalToolSettings, font.lfFaceName) == 96, "lfFaceName at 96");
CAL_LAYOUT_CHECK(sizeof(CalToolTypeInfo) == 108, "descriptor is 108 bytes");
CAL_LAYOUT_CHECK(offsetof(CalToolTypeInfo, name) == 0, "name at 0");
CAL_LAYOUT_CHECK(offsetof(CalToolTypeInfo, description) == 20, "description at 20");
CAL_LAYOUT_CHECK(offsetof(CalToolTypeInfo, image) == 100, "image at 100");
CAL_LAYOUT_CHECK(offsetof(CalToolTypeInfo, mask) == 104, "mask at 104");
CAL_LAYOUT_CHECK(sizeof(CalBackgroundRequest) == 36, "background request is 36 bytes");
CAL_LAYOUT_CHECK(offsetof(CalBackgroundRequest, window) == 0, "window at 0");
CAL_LAYOUT_CHECK(offsetof(CalBackgroundRequest, dc) == 4, "dc at 4");
CAL_LAYOUT_CHECK(offsetof(CalBackgroundRequest, rect) == 8, "rect at 8");
CAL_LAYOUT_CHECK(offsetof(CalBackgroundRequest, reserved) == 24, "reserved at 24");
CAL_LAYOUT_CHECK(sizeof(CalDayMarks) == 12, "day marks are 12 bytes");
CAL_LAYOUT_CHECK(offsetof(CalDayMarks, year) == 0, "year at 0");
CAL_LAYOUT_CHECK(offsetof(CalDayMarks, month) == 4, "month at 4");
CAL_LAYOUT_CHECK(offsetof(CalDayMarks, days) == 8, "days at 8");
CAL_LAYOUT_CHECK(sizeof(CalDayText) == 12, "day text is 12 bytes");
CAL_LAYOUT_CHECK(offsetof(CalDayText, text) == 4, "text at 4");
CAL_LAYOUT_CHECK(offsetof(CalDayText, capacity) == 8, "capacity at 8");
CAL_LAYOUT_CHECK(offsetof(CalFitRequest, minWidth) == 0, "minWidth at 0");
CAL_LAYOUT_CHECK(offsetof(CalFitRequest, minHeight) == 4, "minHeight at 4");
CAL_LAYOUT_CHECK(offsetof(CalFitRequest, maxWidth) == 8, "maxWidth at 8");
CAL_LAYOUT_CHECK(offsetof(CalFitRequest, maxHeight) == 12, "maxHeight at 12");
CAL_LAYOUT_CHECK(offsetof(CalFitRequest, byHeight) == 16, "byHeight at 16");
CAL_LAYOUT_CHECK(offsetof(CalFitRequest, proposed) == 20, "proposed at 20");
#undef CAL_LAYOUT_CHECK
#endif

#endif
