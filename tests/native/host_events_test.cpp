// The panel host's calendar of events: which days small calendars mark, what
// a day lists, and what is kept and said of files that are not right.
#include "host/event_calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace {

struct FixedClock : HostLocalClock {
    explicit FixedClock(int64_t seconds) : offset(seconds) {}
    int64_t LocalFromUtc(int64_t utc) const override { return utc + offset; }
    int64_t offset;
};

// One hour ahead of UTC, two from 01:00 UTC on the last Sunday of March to
// 01:00 UTC on the last Sunday of October.
struct SummerClock : HostLocalClock {
    int64_t LocalFromUtc(int64_t utc) const override
    {
        using namespace std::chrono;
        const auto day = floor<days>(sys_seconds(seconds(utc)));
        const auto y = year_month_day(day).year();
        auto lastSunday = [y](month m) {
            const sys_days last = sys_days(y / m / std::chrono::last);
            return last - (weekday(last) - Sunday);
        };
        const sys_seconds begin = lastSunday(March) + hours(1);
        const sys_seconds end = lastSunday(October) + hours(1);
        const sys_seconds at{seconds(utc)};
        return utc + (at >= begin && at < end ? 7200 : 3600);
    }
};

std::string Calendar(const std::string& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Panel host tests//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& lines) { return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n"; }

uint32_t Days(std::initializer_list<int> days)
{
    uint32_t marks = 0;
    for (int d : days) {
        marks |= 1u << (d - 1);
    }
    return marks;
}

// A zone one hour ahead of UTC, two in summer, as files define it.
const std::string kZone =
    "BEGIN:VTIMEZONE\r\nTZID:Middle Europe\r\n"
    "BEGIN:STANDARD\r\nDTSTART:19701025T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

// A weekly Monday meeting in December 2026 (Mondays 7, 14, 21, 28), with an
// extra date, one left out, one moved and one cancelled.
const std::string kMeetings = Event(
    "UID:meeting\r\nSUMMARY:Meeting\r\nDTSTART:20261207T100000\r\nDTEND:20261207T110000\r\n"
    "RRULE:FREQ=WEEKLY;COUNT=4\r\nRDATE:20261202T100000\r\nEXDATE:20261214T100000\r\n") +
    Event("UID:meeting\r\nSUMMARY:Meeting, moved\r\nRECURRENCE-ID:20261221T100000\r\n"
          "DTSTART:20261223T090000\r\nDTEND:20261223T100000\r\n") +
    Event("UID:meeting\r\nSUMMARY:Meeting\r\nRECURRENCE-ID:20261228T100000\r\nSTATUS:CANCELLED\r\n"
          "DTSTART:20261228T100000\r\n");

struct MarksCase {
    const char* what;
    std::string body;
    int64_t offset;  // of a fixed clock; 1 for the summer clock
    int32_t year, month;
    uint32_t marks;
};

TEST(HostEventCalendar, MarksTheDaysEventsFallOnInLocalTime)
{
    const MarksCase cases[] = {
        {"all-day, the end date not included",
         Event("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261226\r\nSUMMARY:Holidays\r\n"), 0, 2026, 12, Days({24, 25})},
        {"all-day without an end is one day; with a duration, that many",
         Event("DTSTART;VALUE=DATE:20261203\r\n") + Event("DTSTART;VALUE=DATE:20261210\r\nDURATION:P3D\r\n"), 0, 2026, 12,
         Days({3, 10, 11, 12})},
        {"timed across midnight marks both days",
         Event("DTSTART:20261210T220000Z\r\nDTEND:20261211T020000Z\r\n"), 0, 2026, 12, Days({10, 11})},
        {"the same in a zone three hours ahead falls on one local day",
         Event("DTSTART:20261210T220000Z\r\nDTEND:20261211T020000Z\r\n"), 3 * 3600, 2026, 12, Days({11})},
        {"ending at midnight marks no second day; a moment marks its day",
         Event("DTSTART:20261210T200000Z\r\nDTEND:20261211T000000Z\r\n") + Event("DTSTART:20261215T120000Z\r\n"), 0, 2026,
         12, Days({10, 15})},
        {"several days, into the next month",
         Event("DTSTART:20261230T090000\r\nDTEND:20270102T100000\r\n"), 0, 2027, 1, Days({1, 2})},
        {"the zone's summer time from its definition in the file, for single and repeating events",
         kZone + Event("DTSTART;TZID=Middle Europe:20260330T013000\r\n") +
             Event("DTSTART;TZID=Middle Europe:20260302T003000\r\nRRULE:FREQ=WEEKLY\r\n"),
         0, 2026, 3, Days({1, 8, 15, 22, 29})},
        {"UTC times through the local clock's summer time",
         Event("DTSTART:20260101T223000Z\r\nRRULE:FREQ=WEEKLY\r\n"), 1, 2026, 7, Days({3, 10, 17, 24, 31})},
        {"and its winter time", Event("DTSTART:20260101T223000Z\r\nRRULE:FREQ=WEEKLY\r\n"), 1, 2026, 1,
         Days({1, 8, 15, 22, 29})},
        {"floating times are local already",
         Event("DTSTART:20260101T223000\r\nRRULE:FREQ=WEEKLY\r\n"), 1, 2026, 7, Days({2, 9, 16, 23, 30})},
        {"repeating: an extra date, one left out, one moved, one cancelled", kMeetings, 0, 2026, 12, Days({2, 7, 23})},
        {"weekly until a moment in UTC",
         kZone + Event("DTSTART;TZID=Middle Europe:20261101T100000\r\nRRULE:FREQ=WEEKLY;UNTIL=20261213T083000Z\r\n"), 0,
         2026, 12, Days({6})},
        {"yearly since long ago, and one counted out before the month",
         Event("DTSTART;VALUE=DATE:16011225\r\nRRULE:FREQ=YEARLY\r\n") +
             Event("DTSTART;VALUE=DATE:20001201\r\nRRULE:FREQ=YEARLY;COUNT=3\r\n"),
         0, 2026, 12, Days({25})},
        {"cancelled events mark nothing",
         Event("DTSTART:20261210T100000Z\r\nSTATUS:CANCELLED\r\n") +
             Event("DTSTART;VALUE=DATE:20261201\r\nRRULE:FREQ=DAILY\r\nSTATUS:CANCELLED\r\n"),
         0, 2026, 12, 0},
        {"every day of a month with 31", Event("DTSTART;VALUE=DATE:20000101\r\nRRULE:FREQ=DAILY\r\n"), 0, 2026, 12,
         0x7FFFFFFFu},
    };
    const SummerClock summer;
    for (const MarksCase& c : cases) {
        const FixedClock fixed(c.offset);
        HostEventCalendar calendar(c.offset == 1 ? static_cast<const HostLocalClock&>(summer) : fixed);
        const HostReadReport report = calendar.Read(Calendar(c.body));
        EXPECT_EQ(report.problem, "") << c.what;
        EXPECT_EQ(calendar.MonthMarks(c.year, c.month), c.marks) << c.what;
        EXPECT_EQ(calendar.MonthMarks(c.year, c.month), c.marks) << c.what << " (asked again)";
    }
}

TEST(HostEventCalendar, ListsADaysEventsAllDayFirstThenByTime)
{
    const FixedClock clock(3600);
    HostEventCalendar calendar(clock);
    const HostReadReport report = calendar.Read(Calendar(
        Event("SUMMARY:Zoo\r\nDTSTART:20261210T083000Z\r\n") + Event("SUMMARY:Art\r\nDTSTART:20261210T083000Z\r\n") +
        Event("SUMMARY:Night shift\r\nDTSTART:20261209T220000\r\nDTEND:20261210T060000\r\n") +
        Event("SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20261210\r\n") + kMeetings));
    EXPECT_EQ(report.problem, "");
    EXPECT_EQ(report.events, 6u);
    EXPECT_EQ(calendar.EventCount(), 6u);

    auto listed = [&](int y, int m, int d) {
        std::ostringstream out;
        for (const HostDayEvent& e : calendar.DayEvents(y, m, d)) {
            out << e.startMinute << " " << e.summary << "; ";
        }
        return out.str();
    };
    EXPECT_EQ(listed(2026, 12, 10), "-1 Fair; -1 Night shift; 570 Art; 570 Zoo; ");
    EXPECT_EQ(listed(2026, 12, 9), "1320 Night shift; ");
    EXPECT_EQ(listed(2026, 12, 23), "540 Meeting, moved; ");
    EXPECT_EQ(listed(2026, 12, 21), "");
    EXPECT_EQ(listed(2026, 12, 14), "");
    EXPECT_EQ(listed(2026, 12, 2), "600 Meeting; ");
    // Days and months the calendar does not have.
    EXPECT_EQ(listed(2026, 2, 30), "");
    EXPECT_EQ(listed(2026, 13, 1), "");
    EXPECT_EQ(calendar.MonthMarks(10000, 1), 0u);
    EXPECT_EQ(calendar.MonthMarks(2026, 0), 0u);

    // A second file replaces the first.
    calendar.Read(Calendar(Event("SUMMARY:Only\r\nDTSTART;VALUE=DATE:20261201\r\n")));
    EXPECT_EQ(calendar.MonthMarks(2026, 12), Days({1}));
    EXPECT_EQ(calendar.EventCount(), 1u);
}

struct BadCase {
    const char* what;
    std::string bytes;
    std::string problem;  // how the problem begins
    size_t events;
    uint32_t decemberMarks;
};

TEST(HostEventCalendar, KeepsWhatItCouldReadAndSaysWhatWasWrong)
{
    const std::string good = Event("SUMMARY:Good\r\nDTSTART;VALUE=DATE:20261201\r\n");
    const std::string full = Calendar(good + Event("SUMMARY:Second\r\nDTSTART;VALUE=DATE:20261202\r\n") +
                                      Event("SUMMARY:Third\r\nDTSTART;VALUE=DATE:20261203\r\n"));
    const BadCase cases[] = {
        {"an empty file", "", "not an iCalendar file", 0, 0},
        {"another kind of text", "Name,Date\nParty,2026-12-01\n", "not an iCalendar file", 0, 0},
        {"bytes of nothing", std::string("\0\x01\xff\xfe", 4), "not an iCalendar file", 0, 0},
        {"cut off inside the third event", full.substr(0, full.find("DTSTART;VALUE=DATE:20261203")),
         "cut off after line 13", 2, Days({1, 2})},
        {"cut off between events", full.substr(0, full.find("BEGIN:VEVENT\r\nSUMMARY:Third")), "cut off after line 11", 2,
         Days({1, 2})},
        {"lines libical rejects",
         Calendar(good + Event("SUMMARY:Kept\r\nthis is no property\r\nDTSTART;VALUE=DATE:20261205\r\n"
                               "DTEND:not a time\r\n")),
         "line 10 cannot be read: 'this is no property' (and 1 more", 2, Days({1, 5})},
        {"a Latin-1 summary", Calendar(Event("SUMMARY:Caf\xe9\r\nDTSTART;VALUE=DATE:20261207\r\n")),
         "text that is not UTF-8 on line 5", 1, Days({7})},
        {"a backslash before a letter of two bytes",
         Calendar(Event("SUMMARY:Caf\\\xc3\xa9\r\nDTSTART;VALUE=DATE:20261207\r\n")), "", 1, Days({7})},
        {"an event without a start, beside a good one", Calendar(good + Event("SUMMARY:Nowhen\r\n")),
         "an event without a start ('Nowhen')", 1, Days({1})},
        {"a rule that never matches",
         Calendar(good + Event("SUMMARY:Never\r\nDTSTART;VALUE=DATE:20260201\r\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30\r\n")),
         "a rule that never matches (event 'Never')", 2, Days({1})},
        {"one stepping by the second that never matches, with a count",
         Calendar(Event("SUMMARY:Never\r\nDTSTART:20261201T000000Z\r\n"
                        "RRULE:FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30;COUNT=5\r\n")),
         "a rule that never matches (event 'Never')", 1, Days({1})},
        {"and several problems at once", Calendar(Event("SUMMARY:\xff\r\n")).substr(0, 87),
         "text that is not UTF-8 on line 5; and 1 more problem", 0, 0},
    };
    const FixedClock clock(0);
    for (const BadCase& c : cases) {
        HostEventCalendar calendar(clock);
        const auto began = std::chrono::steady_clock::now();
        const HostReadReport report = calendar.Read(c.bytes);
        EXPECT_EQ(report.problem.substr(0, c.problem.size()), c.problem) << c.what << ": " << report.problem;
        EXPECT_EQ(report.events, c.events) << c.what;
        EXPECT_EQ(calendar.MonthMarks(2026, 12), c.decemberMarks) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10)) << c.what;
        for (const HostDayEvent& e : calendar.DayEvents(2026, 12, 7)) {
            std::string repaired;
            EXPECT_EQ(HostUtf8Repaired(e.summary, repaired), 0u) << c.what;
        }
    }
}

TEST(HostEventCalendar, AnEndlessRuleIsExpandedOnlyWhereAsked)
{
    const FixedClock clock(0);
    HostEventCalendar calendar(clock);
    const HostReadReport report = calendar.Read(Calendar(
        Event("SUMMARY:Each minute\r\nDTSTART:16010101T000000Z\r\nRRULE:FREQ=MINUTELY\r\n") +
        Event("SUMMARY:Every other hour\r\nDTSTART:20260101T000000Z\r\nRRULE:FREQ=HOURLY;INTERVAL=2\r\n")));
    EXPECT_EQ(report.problem, "");
    EXPECT_EQ(calendar.MonthMarks(2026, 2), 0x0FFFFFFFu);
    EXPECT_EQ(calendar.MonthMarks(1601, 1), 0x7FFFFFFFu);
    EXPECT_EQ(calendar.DayEvents(2026, 3, 1).size(), 24u * 60 + 12);

    // Instances by the second, far more than one expansion takes, on every
    // local day of a month ten hours ahead of their times.
    const FixedClock ahead(10 * 3600);
    HostEventCalendar seconds(ahead);
    seconds.Read(Calendar(Event("DTSTART:20261130T200000Z\r\nRRULE:FREQ=SECONDLY;BYHOUR=20,21\r\n")));
    EXPECT_EQ(seconds.MonthMarks(2026, 12), 0x7FFFFFFFu);
    EXPECT_EQ(seconds.MonthMarks(2026, 11), 0u);
    EXPECT_EQ(seconds.DayEvents(2026, 12, 31).size(), 7200u);
}

TEST(HostEventCalendar, RepairsTextThatIsNotUtf8)
{
    const struct {
        std::string in, out;
        size_t line;
    } cases[] = {
        {"plain\n\xe2\x82\xac and \xf0\x9f\x98\x80", "plain\n\xe2\x82\xac and \xf0\x9f\x98\x80", 0},
        {"a\nb\n\xc0\xaf", "a\nb\n\xef\xbf\xbd\xef\xbf\xbd", 3},        // an overlong slash
        {"\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd", 1},    // a surrogate
        {"cut \xe2\x82", "cut \xef\xbf\xbd\xef\xbf\xbd", 1},             // a sequence cut off
        {std::string("nul\0", 4), "nul\xef\xbf\xbd", 1},
        {"\xf4\x90\x80\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd", 1},  // past U+10FFFF
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(HostUtf8Repaired(c.in, out), c.line) << c.in;
        EXPECT_EQ(out, c.out) << c.in;
    }
}

TEST(HostEventCalendar, TheSampleCalendarReadsWhole)
{
    std::ifstream file(CAL_SAMPLES_DIR "/holidays-and-appointments.ics", std::ios::binary);
    ASSERT_TRUE(file);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const FixedClock clock(3600);
    HostEventCalendar calendar(clock);
    const HostReadReport report = calendar.Read(bytes.str());
    EXPECT_EQ(report.problem, "");
    EXPECT_EQ(report.events, 8u);
    // The weekly meeting moved from the 7th to the 8th and left out on the 28th.
    EXPECT_EQ(calendar.MonthMarks(2026, 12), Days({3, 8, 14, 15, 16, 21, 25, 31}));
    EXPECT_EQ(calendar.MonthMarks(2027, 1) & Days({1}), Days({1}));
}

}  // namespace
