/* The platform-free half of the host protocol: message numbers, the packed
   size, the size-fit request and the packed date. Included by caltool.h, which hosts use;
   free of platform headers so that the size arithmetic builds natively. */
#ifndef CALENDAR_PLUGIN_CAL_PROTOCOL_H
#define CALENDAR_PLUGIN_CAL_PROTOCOL_H

#include <stdint.h>

/* Requests from the host to a tool window and notifications from a tool to
   its parent, numbered from WM_USER (0x400). */
#define CAL_WM_USER 0x0400
#define CTM_GETSETTINGS (CAL_WM_USER + 105)  /* 0x469: lParam = address of a pointer; result 132 */
#define CTM_SETSETTINGS (CAL_WM_USER + 106)  /* 0x46A: wParam = size (132), lParam = block; result 0 */
#define CTM_CREATEPAGE (CAL_WM_USER + 107)   /* 0x46B: wParam = parent, lParam = x | y << 16; result page */
#define CTM_GETIDEALSIZE (CAL_WM_USER + 108) /* 0x46C: result packed size */
#define CTM_FITSIZE (CAL_WM_USER + 109)      /* 0x46D: lParam = CalFitRequest*; result packed size */
#define CTM_FITSIZE2 (CAL_WM_USER + 110)     /* 0x46E: answered as CTM_FITSIZE */
#define CTM_FITSIZE3 (CAL_WM_USER + 111)     /* 0x46F: answered as CTM_FITSIZE */
#define CTM_SETDAYMARKS                                                                                      \
    (CAL_WM_USER + 120) /* 0x478: wParam = count, lParam = const CalDayMarks*; result non-zero when taken */
#define CTM_GETSELECTION (CAL_WM_USER + 121) /* 0x479: result = the selected date (CalPackDate) */
#define CTM_SETSELECTION                                                                                     \
    (CAL_WM_USER + 122) /* 0x47A: lParam = a date; non-zero when selected and shown, 0 for no such date */
#define CTN_SETTINGSCHANGED                                                                                  \
    (CAL_WM_USER + 130) /* 0x482: wParam = tool window, lParam = 1 after a font change or a page apply */
#define CTN_SHOWPROPERTIES (CAL_WM_USER + 131)  /* 0x483: wParam = tool window */
#define CTN_PAINTBACKGROUND (CAL_WM_USER + 139) /* 0x48B: lParam = CalBackgroundRequest* */
#define CTN_GETDAYMARKS                                                                                      \
    (CAL_WM_USER + 140) /* 0x48C: wParam = tool window, lParam = CalDayMarks*; non-zero when filled */
#define CTN_SELCHANGE (CAL_WM_USER + 141) /* 0x48D: wParam = tool window, lParam = the newly selected date */
#define CTN_SELECT (CAL_WM_USER + 142)    /* 0x48E: wParam = tool window, lParam = the date the user picked */
#define CTN_GETDAYTEXT                                                                                       \
    (CAL_WM_USER + 143) /* 0x48F: wParam = tool window, lParam = CalDayText*; non-zero when text written */

/* Command id, in the low 16 bits of a WM_COMMAND's wParam, with which the
   host applies an open properties page. */
#define CAL_PAGE_APPLY_COMMAND 323

/* Size of the settings block that CTM_GETSETTINGS hands out. */
#define CAL_SETTINGS_SIZE 132

/* A packed size: width in bits 0-15, height in bits 16-31, each unsigned and
   cut to its low 16 bits. */
static inline uint32_t CalPackSize(int32_t width, int32_t height)
{
    return ((uint32_t)width & 0xFFFFu) | (((uint32_t)height & 0xFFFFu) << 16);
}
static inline uint32_t CalPackedWidth(uint32_t packed)
{
    return packed & 0xFFFFu;
}
static inline uint32_t CalPackedHeight(uint32_t packed)
{
    return packed >> 16;
}

/* A date in 32 bits: the year in bits 16-31, the month (1-12) in bits 8-15,
   the day (1-31) in bits 0-7. */
static inline uint32_t CalPackDate(int32_t year, int32_t month, int32_t day)
{
    return (((uint32_t)year & 0xFFFFu) << 16) | (((uint32_t)month & 0xFFu) << 8) | ((uint32_t)day & 0xFFu);
}
static inline int32_t CalDateYear(uint32_t date)
{
    return (int32_t)(date >> 16);
}
static inline int32_t CalDateMonth(uint32_t date)
{
    return (int32_t)((date >> 8) & 0xFFu);
}
static inline int32_t CalDateDay(uint32_t date)
{
    return (int32_t)(date & 0xFFu);
}

/* The record whose address CTM_FITSIZE carries: 24 bytes, read only. */
typedef struct CalFitRequest {
    int32_t minWidth;  /* smallest width the host accepts */
    int32_t minHeight; /* smallest height the host accepts */
    int32_t maxWidth;  /* bound for a width derived from a proposed height */
    int32_t maxHeight; /* bound for a height derived from a proposed width */
    int32_t byHeight;  /* non-zero: proposed is a height; 0: a width */
    int32_t proposed;  /* the proposed height or width */
} CalFitRequest;

#ifdef __cplusplus
static_assert(sizeof(CalFitRequest) == 24, "CalFitRequest is 24 bytes");
#else
_Static_assert(sizeof(CalFitRequest) == 24, "CalFitRequest is 24 bytes");
#endif

#endif
