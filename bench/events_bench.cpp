// The panel host's calendar reading at speed: reading a large calendar file,
// and the marks of a month asked for the first time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "host/event_calendar.h"

namespace {

struct CentralClock : HostLocalClock {
    int64_t LocalFromUtc(int64_t utc) const override { return utc + 3600; }
};

// A calendar of `events` events, a tenth of them repeating: weekly ones from
// years back (some with a date left out), yearly ones since 1990, daily ones
// with a count; the single ones timed in a zone of the file, in UTC or all
// day, spread over 2015 to 2034.
std::string GeneratedCalendar(int events)
{
    std::string s = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Panel host bench//EN\r\n"
                    "BEGIN:VTIMEZONE\r\nTZID:Middle Europe\r\n"
                    "BEGIN:STANDARD\r\nDTSTART:19701025T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
                    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\n"
                    "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
                    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    char date[32];
    for (int i = 0; i < events; ++i) {
        const unsigned year = 2015 + next(20), month = 1 + next(12), day = 1 + next(28), hour = next(24);
        s += "BEGIN:VEVENT\r\nUID:event-" + std::to_string(i) + "\r\nSUMMARY:Event number " + std::to_string(i) + "\r\n";
        if (i % 10 == 0) {
            switch (i / 10 % 4) {
            case 0:
            case 1:
                std::snprintf(date, sizeof date, "%04u%02u%02uT%02u0000", 2010 + next(10), month, day, hour);
                s += std::string("DTSTART;TZID=Middle Europe:") + date + "\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY\r\n";
                if (i % 3 == 0) {
                    s += std::string("EXDATE;TZID=Middle Europe:") + date + "\r\n";
                }
                break;
            case 2:
                std::snprintf(date, sizeof date, "1990%02u%02u", month, day);
                s += std::string("DTSTART;VALUE=DATE:") + date + "\r\nRRULE:FREQ=YEARLY\r\n";
                break;
            default:
                std::snprintf(date, sizeof date, "%04u%02u%02uT%02u0000Z", year, month, day, hour);
                s += std::string("DTSTART:") + date + "\r\nDURATION:PT30M\r\nRRULE:FREQ=DAILY;COUNT=" +
                     std::to_string(2 + next(30)) + "\r\n";
            }
        } else if (i % 3 == 0) {
            std::snprintf(date, sizeof date, "%04u%02u%02u", year, month, day);
            s += std::string("DTSTART;VALUE=DATE:") + date + "\r\n";
        } else {
            std::snprintf(date, sizeof date, "%04u%02u%02uT%02u3000%s", year, month, day, hour, i % 3 == 1 ? "Z" : "");
            s += std::string(i % 3 == 1 ? "DTSTART:" : "DTSTART;TZID=Middle Europe:") + date + "\r\nDURATION:PT2H\r\n";
        }
        s += "END:VEVENT\r\n";
    }
    return s + "END:VCALENDAR\r\n";
}

void EventsRead(benchmark::State& state)
{
    const std::string file = GeneratedCalendar(static_cast<int>(state.range(0)));
    const CentralClock clock;
    for (auto _ : state) {
        HostEventCalendar calendar(clock);
        const HostReadReport report = calendar.Read(file);
        if (!report.problem.empty() || report.events != static_cast<size_t>(state.range(0))) {
            state.SkipWithError(("the generated calendar reads badly: " + report.problem).c_str());
        }
    }
    state.counters["MiB"] = static_cast<double>(file.size()) / (1 << 20);
}
BENCHMARK(EventsRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Each iteration asks for a month not asked before, from 2020 on, when every
// repeating event has begun; a fresh calendar is read, outside the timing,
// when the months run out.
void EventsMonthMarksCold(benchmark::State& state)
{
    static const std::string file = GeneratedCalendar(10000);
    const CentralClock clock;
    HostEventCalendar calendar(clock);
    calendar.Read(file);
    int32_t month = 0;
    for (auto _ : state) {
        if (month == 20 * 12) {
            state.PauseTiming();
            calendar.Read(file);
            month = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(calendar.MonthMarks(2020 + month / 12, 1 + month % 12));
        ++month;
    }
}
BENCHMARK(EventsMonthMarksCold)->Unit(benchmark::kMillisecond);

// A month asked for first of all, right after the file is read: nothing
// known of any rule yet (the months above learn where rules have gaps).
void EventsMonthMarksFirst(benchmark::State& state)
{
    static const std::string file = GeneratedCalendar(10000);
    const CentralClock clock;
    int32_t month = 0;
    std::unique_ptr<HostEventCalendar> calendar;
    for (auto _ : state) {
        state.PauseTiming();
        calendar.reset();
        calendar = std::make_unique<HostEventCalendar>(clock);
        calendar->Read(file);
        state.ResumeTiming();
        benchmark::DoNotOptimize(calendar->MonthMarks(2020 + month / 12, 1 + month % 12));
        month = (month + 7) % 240;
    }
}
BENCHMARK(EventsMonthMarksFirst)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same month again: the cached answer a repaint gets.
void EventsMonthMarksCached(benchmark::State& state)
{
    const std::string file = GeneratedCalendar(10000);
    const CentralClock clock;
    HostEventCalendar calendar(clock);
    calendar.Read(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(calendar.MonthMarks(2026, 12));
    }
}
BENCHMARK(EventsMonthMarksCached);

// A day's list, as the status line asks for it on every move.
void EventsDayList(benchmark::State& state)
{
    const std::string file = GeneratedCalendar(10000);
    const CentralClock clock;
    HostEventCalendar calendar(clock);
    calendar.Read(file);
    int32_t day = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calendar.DayEvents(2026, 12, 1 + day++ % 31));
    }
}
BENCHMARK(EventsDayList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
