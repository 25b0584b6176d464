// Dates from the standard library's civil calendar, the independent
// reference the calendar arithmetic is checked against.
#ifndef CALENDAR_TESTS_NATIVE_CIVIL_DATE_H
#define CALENDAR_TESTS_NATIVE_CIVIL_DATE_H

#include <chrono>
#include <cstdint>

namespace chr = std::chrono;

inline chr::sys_days CivilDate(int32_t y, int32_t m, int32_t d)
{
    return chr::sys_days{
        chr::year{y} / chr::month{static_cast<unsigned>(m)} / chr::day{static_cast<unsigned>(d)}};
}

// 0 = Sunday ... 6 = Saturday, as the first day of the week is counted.
inline int32_t SundayBasedWeekday(chr::sys_days date)
{
    return static_cast<int32_t>(chr::weekday{date}.c_encoding());
}

#endif
