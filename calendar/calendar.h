// Gregorian calendar arithmetic for the month view: month lengths, the
// weekday of a date and the week number of a month grid's first row.
// Pure functions over small integers; no platform headers.
#ifndef CALENDAR_CALENDAR_CALENDAR_H
#define CALENDAR_CALENDAR_CALENDAR_H

#include <cstdint>

// Days of months 1..12 in a common year; index 0 holds 0 so that a sum over
// the months before month m runs over indexes 0 .. m - 1.
extern const int32_t CalMonthDays[13];

// 1 when month is February of a Gregorian leap year, else 0. It gives the
// extra day of the given month, so it is 0 for every month but February.
int32_t CalLeapDay(int32_t year, int32_t month);

// Number of days in the month: CalMonthDays[month] + CalLeapDay(year, month).
// A month outside 1..12 has 0 days.
int32_t CalMonthLength(int32_t year, int32_t month);

// Weekday of a date: 0 = Monday ... 6 = Sunday. Counts days from Monday
// 1 January 1601 with floor division, so any year, also before 1601, gets
// its proleptic Gregorian weekday.
int32_t CalDayOfWeek(int32_t year, int32_t month, int32_t day);

// Offset of a month grid, 0..6: day d of the month sits in grid cell
// d + offset, and column 0 is headed by firstDay (0 = Sunday ... 6 = Saturday).
int32_t CalGridOffset(int32_t year, int32_t month, int32_t firstDay);

// The weekday (0 = Sunday ... 6 = Saturday) that heads the grid's first
// column for a first-day setting, also one outside 0..6 from a stored block.
int32_t CalNormalFirstDay(int32_t firstDay);

// The day of a month that is its first Sunday, 1..7, given any day of the
// month and its weekday (0 = Sunday ... 6 = Saturday). That Sunday and the
// six days after it are valid dates in every month.
int32_t CalFirstSunday(int32_t day, int32_t weekday);

// Week number borne by row 0 of the month grid; row t bears this plus t.
int32_t CalFirstWeekNumber(int32_t year, int32_t month, int32_t gridOffset);

#endif
