// The panel host's reading of calendar files, on any bytes: no undefined
// behaviour, no step without end, summaries that are UTF-8, and months and
// days that agree on which days have events.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/event_calendar.h"

namespace {

struct ShiftedClock : HostLocalClock {
    int64_t LocalFromUtc(int64_t utc) const override { return utc + 5400; }
};

[[noreturn]] void Fail(const char* what, int year, int month, int day)
{
    std::fprintf(stderr, "calendar fault: %s (%d-%02d-%02d)\n", what, year, month, day);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Half the inputs open a calendar and an event, so that the fuzzing
    // spends its time inside them rather than on the file's first line.
    std::string text(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 1)) {
        text = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20261201T100000Z\r\n" + text.substr(1);
    }
    const ShiftedClock clock;
    HostEventCalendar calendar(clock);
    const HostReadReport report = calendar.Read(text);
    if (report.events != calendar.EventCount()) {
        Fail("the report's count is not the calendar's", 0, 0, 0);
    }
    std::string repaired;
    if (HostUtf8Repaired(report.problem, repaired) != 0) {
        Fail("a problem that is not UTF-8", 0, 0, 0);
    }
    const int months[][2] = {{2026, 12}, {2027, 1}, {kHostFirstYear, 1}, {kHostLastYear, 12}, {2024, 2}};
    for (const auto& m : months) {
        const uint32_t marks = calendar.MonthMarks(m[0], m[1]);
        for (int day = 1; day <= 31; ++day) {
            const auto events = calendar.DayEvents(m[0], m[1], day);
            if (!events.empty() != ((marks >> (day - 1)) & 1u)) {
                Fail("a day listed and marked differently", m[0], m[1], day);
            }
            for (const HostDayEvent& e : events) {
                if (e.startMinute < -1 || e.startMinute >= 24 * 60) {
                    Fail("a start outside the day", m[0], m[1], day);
                }
                if (HostUtf8Repaired(e.summary, repaired) != 0) {
                    Fail("a summary that is not UTF-8", m[0], m[1], day);
                }
            }
        }
    }
    return 0;
}
