// What the host says about a day of its calendars: the day's events as one
// line for the status line, fitted to its width, and as lines for a tool's
// tooltip. Platform-free: the platform measures text and writes times.
#ifndef PANELHOST_DAY_SUMMARY_H
#define PANELHOST_DAY_SUMMARY_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/event_calendar.h"

// UTF-8 to UTF-16; a byte that does not belong to a well-formed sequence
// becomes U+FFFD.
std::u16string HostUtf16FromUtf8(std::string_view text);

struct HostSummaryFormat {
    // A start time, minutes after midnight, as the locale writes it.
    std::function<std::u16string(int32_t minute)> time;
    // The width of a text on the status line, in pixels.
    std::function<int32_t(const std::u16string& text)> width;
};

// One event as both texts show it: its start time, if it has one, then its summary.
std::u16string HostEventText(const HostDayEvent& event, const HostSummaryFormat& format);

// "<long date>: <event>; <event>; and N more", with as many events as fit
// in maxWidth; when none fits, "<long date>: N events". A day without events
// is the long date and "no events".
std::u16string HostDayLine(const std::u16string& longDate, const std::vector<HostDayEvent>& events,
    const HostSummaryFormat& format, int32_t maxWidth);

// One event a line, at most maxLines of them, then "and N more", in at most
// capacity - 1 UTF-16 units: fewer whole lines (and a larger N) where they
// do not fit, and where not even one does, the first cut between whole
// characters. Empty for a day without events.
std::u16string HostDayTip(const std::vector<HostDayEvent>& events, const HostSummaryFormat& format,
    size_t maxLines, size_t capacity);

#endif
