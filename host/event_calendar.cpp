// The panel host's calendar of events. libical reads the file and expands
// the recurrence rules; this file decides what it is given, keeps the
// events as spans of local time, and answers for months and days.
#include "host/event_calendar.h"

#include <libical/ical.h>

#include "host/utf8.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace {

constexpr int64_t kDay = 86400;
// What one expansion of a rule may cost: at most this many instances, and
// libical is never asked beyond the end of the range, so that a rule that
// seldom or never matches cannot keep it stepping for long.
constexpr size_t kMostInstances = 100000;
// How far a rule is tried before it is called one that never matches, and
// how far a rule with a count is expanded when the file is read.
constexpr int64_t kMostRuleSteps = 100000;
constexpr int64_t kLongestRuleWindow = 400 * 366 * kDay;
// How far a zone's wall-clock time can be from local time: offsets run from
// -12 to +14 hours.
constexpr int64_t kZoneReach = 27 * 3600;

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(era * 400 + yoe + (month <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// A time's wall-clock fields as seconds, as if they were UTC.
int64_t WallSeconds(const icaltimetype& t)
{
    int64_t s = DaysFromCivil(t.year, t.month, t.day) * kDay;
    if (!t.is_date) {
        s += t.hour * 3600 + t.minute * 60 + t.second;
    }
    return s;
}

// A time in its zone as UTC seconds; floating times and dates as they are.
int64_t UtcSeconds(icaltimetype t)
{
    int offset = 0;
    int isDaylight = 0;
    if (t.zone && !t.is_date && !icaltime_is_utc(t)) {
        offset = icaltimezone_get_utc_offset(const_cast<icaltimezone*>(t.zone), &t, &isDaylight);
    }
    return WallSeconds(t) - offset;
}

icaltimetype WallTime(int64_t seconds, const icaltimetype& like)
{
    icaltimetype t = like;
    const int64_t days = FloorDiv(seconds, kDay);
    CivilFromDays(days, t.year, t.month, t.day);
    const int64_t rest = seconds - days * kDay;
    t.hour = t.is_date ? 0 : static_cast<int>(rest / 3600);
    t.minute = t.is_date ? 0 : static_cast<int>(rest / 60 % 60);
    t.second = t.is_date ? 0 : static_cast<int>(rest % 60);
    return t;
}

bool DaysInRange(int32_t year, int32_t month)
{
    return year >= kHostFirstYear && year <= kHostLastYear && month >= 1 && month <= 12;
}

std::string Quoted(const char* text)
{
    std::string s;
    HostUtf8Repaired(text ? text : "", s);
    if (s.size() > 40) {
        size_t cut = 40;
        while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        s = s.substr(0, cut) + "...";
    }
    return "'" + s + "'";
}

// A time property's value in the zone its TZID names in this file; a TZID
// the file does not define leaves the time floating.
icaltimetype TimeOf(icalproperty* property, icalcomponent* calendar, icaltimetype value)
{
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!value.is_date && !icaltime_is_utc(value)) {
        value.zone = tzid ? icalcomponent_get_timezone(calendar, icalparameter_get_tzid(tzid)) : nullptr;
    }
    return value;
}

// A component's properties of one kind. Collected first: reading another
// property (the summary, say) moves the component's one property cursor.
std::vector<icalproperty*> Properties(icalcomponent* component, icalproperty_kind kind)
{
    std::vector<icalproperty*> all;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p;
         p = icalcomponent_get_next_property(component, kind)) {
        all.push_back(p);
    }
    return all;
}

// Rules libical is asked to step through, with their reach.
int64_t RuleWindow(const icalrecurrencetype& rule)
{
    int64_t unit = 0;
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE: unit = 1; break;
    case ICAL_MINUTELY_RECURRENCE: unit = 60; break;
    case ICAL_HOURLY_RECURRENCE: unit = 3600; break;
    case ICAL_DAILY_RECURRENCE:
    case ICAL_WEEKLY_RECURRENCE:
    case ICAL_MONTHLY_RECURRENCE:
        // Every day and weekday of the calendar comes round within 28 years
        // (a 29 February within eight).
        return std::min(kLongestRuleWindow, 28 * 366 * kDay * std::max<int64_t>(rule.interval, 1));
    default: return kLongestRuleWindow;
    }
    return std::min(kLongestRuleWindow, kMostRuleSteps * std::max<int64_t>(rule.interval, 1) * unit);
}

struct IteratorCloser {
    void operator()(icalrecur_iterator* it) const { icalrecur_iterator_free(it); }
};
using Iterator = std::unique_ptr<icalrecur_iterator, IteratorCloser>;

// An iterator that never goes past `until` (wall seconds in the start's zone).
Iterator RuleIterator(icalrecurrencetype rule, const icaltimetype& start, int64_t until)
{
    const icaltimetype limit = WallTime(until, start);
    if (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, limit) > 0) {
        rule.until = limit;
    }
    return Iterator(icalrecur_iterator_new(rule, start));
}

}  // namespace

struct HostEventCalendar::Series {
    icaltimetype start;                       // DTSTART, with its zone
    int64_t wallStart = 0;
    std::vector<icalrecurrencetype> rules;    // without a count
    // An iterator kept for each rule that steps by days or longer, moved to
    // each range asked for: making one costs more than the range's instances.
    // Rules by the hour or shorter get one each time, bounded by the range.
    mutable std::vector<Iterator> kept;
    std::vector<int64_t> ends;                // each rule's UNTIL as a wall start, or the largest
    mutable std::vector<std::pair<int64_t, int64_t>> gaps;  // for each rule, wall starts known to have none
    std::vector<int64_t> instances;           // wall starts from RDATE and counted rules, sorted
    std::vector<int64_t> skipped;             // wall starts removed (EXDATE, overridden), sorted
    int64_t duration = 0;
    uint32_t summary = 0;

    // Wall starts in [from, to), unordered, possibly repeated. After each
    // start a rule goes on from resume(start) at the earliest: a caller that
    // needs one instance a day skips the rest of a day at once.
    template <typename Resume>
    void Expand(int64_t from, int64_t to, std::vector<int64_t>& out, Resume&& resume) const
    {
        if (wallStart >= from && wallStart < to) {
            out.push_back(wallStart);
        }
        for (auto it = std::lower_bound(instances.begin(), instances.end(), from);
             it != instances.end() && *it < to; ++it) {
            out.push_back(*it);
        }
        // Rules that begin after the range or end before it are not asked.
        for (size_t r = 0; r < rules.size() && wallStart < to; ++r) {
            if (ends[r] < from || (gaps[r].first <= from && to <= gaps[r].second)) {
                continue;
            }
            const icaltimetype first = WallTime(std::max(from, wallStart), start);
            Iterator fresh;
            icalrecur_iterator* iterator = kept[r].get();
            if (!iterator || !icalrecur_iterator_set_start(iterator, first)) {
                fresh = RuleIterator(rules[r], start, to);
                iterator = fresh.get();
                if (!iterator) {
                    continue;
                }
                if (from > wallStart) {
                    icalrecur_iterator_set_start(iterator, first);
                }
            }
            // Where the caller wants the rule to go on after the last start:
            // never more than a day after it, so asked only of closer starts.
            int64_t last = INT64_MIN;
            int64_t wanted = from;
            int64_t met = from - 1;     // the last start known: none in between is unknown
            int64_t past = INT64_MIN;   // the first start past the range; the largest once the rule ends
            for (size_t n = 0; n < kMostInstances; ++n) {
                const icaltimetype t = icalrecur_iterator_next(iterator);
                if (icaltime_is_null_time(t)) {
                    past = fresh ? INT64_MIN : INT64_MAX;  // a fresh iterator stops at the range's end
                    break;
                }
                const int64_t wall = WallSeconds(t);
                if (wall >= to) {
                    past = wall;
                    break;
                }
                if (wall < from) {
                    continue;
                }
                if (last != INT64_MIN && wall < last + kDay && wanted <= last) {
                    wanted = std::max(last + 1, resume(last));
                }
                if (wall < wanted) {  // in a stretch the caller skips
                    icalrecur_iterator_set_start(iterator, WallTime(wanted, start));
                    met = wanted - 1;
                    continue;
                }
                out.push_back(wall);
                met = last = wall;
            }
            // Between the last start met and the first past the range there is
            // none: ranges inside that gap need not ask the rule again.
            if (past != INT64_MIN) {
                gaps[r] = {met + 1, past};
            }
        }
    }

    // A time given for one of the series' instances, as a wall start in the series' zone.
    int64_t WallOf(icaltimetype t) const
    {
        if (t.is_date && !start.is_date) {
            return WallSeconds(t) + (wallStart - FloorDiv(wallStart, kDay) * kDay);
        }
        if (!t.is_date && t.zone && start.zone && t.zone != start.zone) {
            t = icaltime_convert_to_zone(t, const_cast<icaltimezone*>(start.zone));
        }
        return start.is_date ? DaysFromCivil(t.year, t.month, t.day) * kDay : WallSeconds(t);
    }
};

size_t HostUtf8Repaired(std::string_view bytes, std::string& out)
{
    out.clear();
    out.reserve(bytes.size());
    size_t line = 1;
    size_t first = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t at = i;
        char32_t code = 0;
        // A NUL too: libical reads C strings.
        if (HostNextUtf8(bytes, i, code) && code != 0) {
            out.append(bytes.substr(at, i - at));
        } else {
            out.append("\xEF\xBF\xBD");
            first = first ? first : line;
            i = at + 1;
        }
        line += bytes[at] == '\n';
    }
    return first;
}

HostEventCalendar::HostEventCalendar(const HostLocalClock& clock) : clock_(clock)
{
    // libical's errors are reported through its error number and the X-LIC-ERROR
    // properties; none of them may end the host.
    static std::once_flag once;
    std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

HostEventCalendar::~HostEventCalendar() { Clear(); }

void HostEventCalendar::Clear()
{
    for (icalcomponent* calendar : calendars_) {
        icalcomponent_free(calendar);
    }
    calendars_.clear();
    summaries_.clear();
    singles_.clear();
    series_.clear();
    marks_.clear();
    longestSingle_ = 0;
    events_ = 0;
}

size_t HostEventCalendar::EventCount() const { return events_; }

int64_t HostEventCalendar::LocalOf(const icaltimetype& time) const
{
    if (time.is_date || (!time.zone && !icaltime_is_utc(time))) {
        return WallSeconds(time);  // a date, or a floating time: local already
    }
    return clock_.LocalFromUtc(UtcSeconds(time));
}

HostReadReport HostEventCalendar::Read(std::string_view bytes)
{
    Clear();
    std::vector<std::string> problems;
    std::string text;
    if (const size_t bad = HostUtf8Repaired(bytes, text)) {
        problems.push_back("text that is not UTF-8 on line " + std::to_string(bad));
    }

    // Physical lines, unfolded into the logical lines libical reads, each
    // with the number of its first physical line.
    std::vector<std::pair<std::string, size_t>> lines;
    size_t number = 0;
    size_t lastNumber = 0;
    for (size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; at < text.size();) {
        size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end;
        std::string_view line(text.data() + at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number;
        if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back().first.append(line.substr(1));
        } else if (line.find_first_not_of(" \t") != std::string_view::npos) {
            lines.emplace_back(std::string(line), number);
        }
        if (!line.empty()) {
            lastNumber = number;
        }
        at = end + 1;
    }
    std::string head = lines.empty() ? std::string() : lines.front().first;
    std::transform(head.begin(), head.end(), head.begin(), [](char c) { return static_cast<char>(toupper(c)); });
    if (head.find_last_not_of(" \t") != std::string::npos) {
        head.erase(head.find_last_not_of(" \t") + 1);
    }
    if (head != "BEGIN:VCALENDAR") {
        return {0, "not an iCalendar file"};
    }

    icalparser* parser = icalparser_new();
    bool open = false;
    size_t rejected = 0;
    for (auto& [line, at] : lines) {
        icalcomponent* done = icalparser_add_line(parser, line.data());
        const icalparser_state state = icalparser_get_state(parser);
        if (state == ICALPARSER_ERROR && rejected++ == 0) {
            problems.push_back("line " + std::to_string(at) + " cannot be read: " + Quoted(line.c_str()));
        }
        open = done ? false : open || state == ICALPARSER_BEGIN_COMP;
        if (done) {
            calendars_.push_back(done);
        }
    }
    if (rejected > 1) {
        problems.back() += " (and " + std::to_string(rejected - 1) + " more lines that cannot be read)";
    }
    if (open) {
        problems.push_back("cut off after line " + std::to_string(lastNumber));
        // The parser keeps what it closes, and frees it with itself.
        if (icalcomponent* rest = icalparser_clean(parser)) {
            calendars_.push_back(icalcomponent_new_clone(rest));
        }
    }
    icalparser_free(parser);

    for (icalcomponent* calendar : calendars_) {
        ReadCalendar(calendar, problems);
    }
    std::sort(singles_.begin(), singles_.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    HostReadReport report{events_, problems.empty() ? std::string() : problems.front()};
    if (problems.size() > 1) {
        report.problem += "; and " + std::to_string(problems.size() - 1) + " more problem" +
                          (problems.size() > 2 ? "s" : "");
    }
    return report;
}

void HostEventCalendar::ReadCalendar(icalcomponent* calendar, std::vector<std::string>& problems)
{
    if (icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT) {
        return;
    }
    std::vector<icalcomponent*> events;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        events.push_back(c);
    }
    // One line of UTF-8: libical's unescaping of a backslash can split a
    // character that the file had whole.
    auto summaryOf = [this](icalcomponent* event) {
        std::string s;
        HostUtf8Repaired(icalcomponent_get_summary(event) ? icalcomponent_get_summary(event) : "", s);
        std::replace_if(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
        summaries_.push_back(std::move(s));
        return static_cast<uint32_t>(summaries_.size() - 1);
    };
    // Where an event is and how long it lasts; false when it has no start.
    auto timesOf = [calendar](icalcomponent* event, icaltimetype& start, int64_t& duration) {
        icalproperty* p = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        if (!p || icaltime_is_null_time(icalproperty_get_dtstart(p))) {
            return false;
        }
        start = TimeOf(p, calendar, icalproperty_get_dtstart(p));
        duration = start.is_date ? kDay : 0;
        if (icalproperty* e = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
            const icaltimetype end = TimeOf(e, calendar, icalproperty_get_dtend(e));
            if (!icaltime_is_null_time(end)) {
                duration = start.is_date ? (DaysFromCivil(end.year, end.month, end.day) -
                                            DaysFromCivil(start.year, start.month, start.day)) * kDay
                                         : UtcSeconds(end) - UtcSeconds(start);
            }
        } else if (icalproperty* d = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
            duration = icaldurationtype_as_int(icalproperty_get_duration(d));
        }
        duration = std::max<int64_t>(duration, 0);
        return true;
    };
    auto cancelled = [](icalcomponent* event) { return icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED; };
    auto incomplete = [](icalcomponent* event) {
        for (icalproperty* p : Properties(event, ICAL_XLICERROR_PROPERTY)) {
            const char* what = icalproperty_get_xlicerror(p);
            if (what && std::string_view(what).rfind("Missing END tag", 0) == 0) {
                return true;
            }
        }
        return false;
    };
    auto addSingle = [&](icalcomponent* event, const icaltimetype& start, int64_t duration) {
        const int64_t local = LocalOf(start);
        singles_.push_back({local, local + duration, summaryOf(event), static_cast<bool>(start.is_date)});
        longestSingle_ = std::max(longestSingle_, duration);
        ++events_;
    };

    size_t noStart = 0;
    std::string firstNoStart;
    // The repeating events first, by UID, so that overrides find them.
    std::unordered_map<std::string, Series*> byUid;
    for (icalcomponent* event : events) {
        icaltimetype start;
        int64_t duration = 0;
        const bool repeats = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                             icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
        if (incomplete(event) || cancelled(event) || !repeats ||
            icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            continue;
        }
        if (!timesOf(event, start, duration)) {
            firstNoStart = noStart++ ? firstNoStart : Quoted(icalcomponent_get_summary(event));
            continue;
        }
        auto series = std::make_unique<Series>();
        series->start = start;
        series->wallStart = WallSeconds(start);
        series->duration = duration;
        series->summary = summaryOf(event);
        for (icalproperty* p : Properties(event, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            rule.rscale = nullptr;  // owned by the property, which goes; calendars other than the Gregorian are not kept
            const int64_t reach = series->wallStart + RuleWindow(rule);
            Iterator probe = RuleIterator(rule, start, reach);
            bool matches = false;
            for (size_t n = 0; probe && n < (rule.count > 0 ? kMostInstances : 1); ++n) {
                const icaltimetype t = icalrecur_iterator_next(probe.get());
                if (icaltime_is_null_time(t)) {
                    break;
                }
                matches = true;
                if (rule.count > 0) {
                    series->instances.push_back(WallSeconds(t));
                }
            }
            // A rule with no instance within its reach is left out: asked
            // again for each month, libical would step through it all anew.
            if (!matches) {
                problems.push_back("a rule that never matches (event " + Quoted(icalcomponent_get_summary(event)) + ")");
            } else if (rule.count == 0) {
                series->rules.push_back(rule);
                series->ends.push_back(icaltime_is_null_time(rule.until) ? INT64_MAX : series->WallOf(rule.until));
                const bool byDays = rule.freq >= ICAL_DAILY_RECURRENCE && rule.freq <= ICAL_YEARLY_RECURRENCE;
                series->kept.emplace_back(byDays ? icalrecur_iterator_new(rule, start) : nullptr);
                series->gaps.emplace_back(0, 0);
            }
        }
        for (icalproperty* p : Properties(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
            const icaltimetype t = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
            if (!icaltime_is_null_time(t)) {
                series->instances.push_back(series->WallOf(TimeOf(p, calendar, t)));
            }
        }
        for (icalproperty* p : Properties(event, ICAL_EXDATE_PROPERTY)) {
            series->skipped.push_back(series->WallOf(TimeOf(p, calendar, icalproperty_get_exdate(p))));
        }
        std::sort(series->instances.begin(), series->instances.end());
        const char* uid = icalcomponent_get_uid(event);
        byUid[uid ? uid : ""] = series.get();
        series_.push_back(std::move(series));
        ++events_;
    }

    // Then every other event: single ones, and the instances that overrides move or cancel.
    for (icalcomponent* event : events) {
        icaltimetype start;
        int64_t duration = 0;
        icalproperty* recurrence = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        const bool repeats = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                             icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
        if (incomplete(event) || (repeats && !recurrence && !cancelled(event))) {
            continue;
        }
        if (recurrence) {
            const char* uid = icalcomponent_get_uid(event);
            const auto master = byUid.find(uid ? uid : "");
            if (master != byUid.end()) {
                Series& s = *master->second;
                s.skipped.push_back(s.WallOf(TimeOf(recurrence, calendar, icalproperty_get_recurrenceid(recurrence))));
            }
        }
        if (cancelled(event)) {
            continue;
        }
        if (!timesOf(event, start, duration)) {
            firstNoStart = noStart++ ? firstNoStart : Quoted(icalcomponent_get_summary(event));
            continue;
        }
        addSingle(event, start, duration);
    }
    if (noStart > 0) {
        problems.push_back("an event without a start (" + firstNoStart + ")");
    }
    for (auto& s : series_) {
        std::sort(s->skipped.begin(), s->skipped.end());
    }

    // Only the time zones are needed from here on.
    for (icalcomponent* event : events) {
        icalcomponent_remove_component(calendar, event);
        icalcomponent_free(event);
    }
}

template <typename Visit>
void HostEventCalendar::ForEachSpan(int64_t from, int64_t to, bool oncePerDay, Visit&& visit)
{
    auto touches = [from, to](int64_t start, int64_t end) {
        return start < to && (end > from || (end == start && start >= from));
    };
    auto first = std::lower_bound(singles_.begin(), singles_.end(), from - longestSingle_,
                                  [](const Span& s, int64_t at) { return s.start < at; });
    for (auto it = first; it != singles_.end() && it->start < to; ++it) {
        if (touches(it->start, it->end)) {
            visit(*it);
        }
    }
    std::vector<int64_t> starts;
    for (const auto& s : series_) {
        starts.clear();
        // Where the next local day begins, less the duration, in the series' wall time.
        auto nextDay = [&](int64_t wall) {
            if (!oncePerDay) {
                return wall + 1;
            }
            const int64_t local = LocalOf(WallTime(wall, s->start));
            const int64_t target = (FloorDiv(local, kDay) + 1) * kDay - s->duration;
            int64_t guess = wall + (target - local);
            guess += target - LocalOf(WallTime(guess, s->start));  // once more, across a change of offset
            return guess;
        };
        s->Expand(from - s->duration - kZoneReach, to + kZoneReach, starts, nextDay);
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        for (const int64_t wall : starts) {
            if (std::binary_search(s->skipped.begin(), s->skipped.end(), wall)) {
                continue;
            }
            const int64_t local = LocalOf(WallTime(wall, s->start));
            if (touches(local, local + s->duration)) {
                visit(Span{local, local + s->duration, s->summary, static_cast<bool>(s->start.is_date)});
            }
        }
    }
}

uint32_t HostEventCalendar::MonthMarks(int32_t year, int32_t month)
{
    if (!DaysInRange(year, month)) {
        return 0;
    }
    const int32_t key = year * 12 + month - 1;
    if (const auto cached = marks_.find(key); cached != marks_.end()) {
        return cached->second;
    }
    const int64_t first = DaysFromCivil(year, month, 1);
    const int64_t next = month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1);
    uint32_t marks = 0;
    ForEachSpan(first * kDay, next * kDay, true, [&](const Span& span) {
        const int64_t last = span.end > span.start ? FloorDiv(span.end - 1, kDay) : FloorDiv(span.start, kDay);
        for (int64_t d = std::max(FloorDiv(span.start, kDay), first); d <= std::min(last, next - 1); ++d) {
            marks |= 1u << (d - first);
        }
    });
    marks_[key] = marks;
    return marks;
}

std::vector<HostDayEvent> HostEventCalendar::DayEvents(int32_t year, int32_t month, int32_t day)
{
    std::vector<HostDayEvent> list;
    if (!DaysInRange(year, month) || day < 1 || day > 31) {
        return list;
    }
    const int64_t from = DaysFromCivil(year, month, day) * kDay;
    int y = 0, m = 0, d = 0;
    CivilFromDays(from / kDay, y, m, d);
    if (d != day) {
        return list;  // past the month's end
    }
    ForEachSpan(from, from + kDay, false, [&](const Span& span) {
        const bool startsToday = !span.allDay && span.start >= from;
        list.push_back({startsToday ? static_cast<int32_t>((span.start - from) / 60) : -1, summaries_[span.summary]});
    });
    std::sort(list.begin(), list.end(), [](const HostDayEvent& a, const HostDayEvent& b) {
        return std::tie(a.startMinute, a.summary) < std::tie(b.startMinute, b.summary);
    });
    return list;
}
