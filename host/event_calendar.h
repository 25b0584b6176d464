// The panel host's calendar of events, read from an iCalendar file: which
// days of a month have events, and what happens on a day, in local time.
// Platform-free: the platform's local time zone comes in as a HostLocalClock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct icalcomponent_impl;

// How the platform's local time zone turns UTC into wall-clock time.
struct HostLocalClock {
    virtual ~HostLocalClock() = default;
    // Both counted in seconds from 1970-01-01 00:00, the result as if local
    // time were UTC.
    virtual int64_t LocalFromUtc(int64_t utcSeconds) const = 0;
};

struct HostDayEvent {
    int32_t startMinute;  // minutes after local midnight; -1 for an all-day event or a day it did not start on
    std::string summary;  // UTF-8
};

struct HostReadReport {
    size_t events = 0;    // events kept
    std::string problem;  // "" when nothing was wrong, else what and where (the first, and how many more)
};

// Years the calendar answers for.
constexpr int32_t kHostFirstYear = 1601;
constexpr int32_t kHostLastYear = 9999;

class HostEventCalendar {
public:
    explicit HostEventCalendar(const HostLocalClock& clock);
    ~HostEventCalendar();
    HostEventCalendar(const HostEventCalendar&) = delete;
    HostEventCalendar& operator=(const HostEventCalendar&) = delete;

    // A whole file's bytes. Replaces what was read before; keeps every event
    // it could read, whatever else was wrong.
    HostReadReport Read(std::string_view bytes);
    // Bit n-1 set when day n has an event, in local time; 0 outside the years.
    uint32_t MonthMarks(int32_t year, int32_t month);
    // All-day entries first, then by start time, then by summary.
    std::vector<HostDayEvent> DayEvents(int32_t year, int32_t month, int32_t day);
    size_t EventCount() const;

    // Where an event falls, in local seconds (as if local time were UTC),
    // the end exclusive.
    struct Span {
        int64_t start;
        int64_t end;
        uint32_t summary;  // index into the summaries
        bool allDay;
    };
    struct Series;  // a repeating event and what libical needs to expand it

private:
    // Every span that touches [from, to); once a day a repeating event has
    // been seen, its other instances that day may be left out.
    template <typename Visit>
    void ForEachSpan(int64_t from, int64_t to, bool oncePerDay, Visit&& visit);
    void Clear();
    int64_t LocalOf(const struct icaltimetype& time) const;
    void ReadCalendar(icalcomponent_impl* calendar, std::vector<std::string>& problems);

    const HostLocalClock& clock_;
    std::vector<std::string> summaries_;
    std::vector<Span> singles_;  // sorted by start
    int64_t longestSingle_ = 0;
    std::vector<std::unique_ptr<Series>> series_;
    std::vector<icalcomponent_impl*> calendars_;  // kept for the time zones the spans were read with
    size_t events_ = 0;
    std::map<int32_t, uint32_t> marks_;  // by year * 12 + month - 1
};

// Bytes as UTF-8: each byte of a sequence that is not UTF-8, and each NUL,
// becomes U+FFFD. Returns the 1-based line of the first replacement, 0 for none.
size_t HostUtf8Repaired(std::string_view bytes, std::string& out);
