#include "host/day_summary.h"

#include "host/utf8.h"

namespace {

std::u16string Ascii(const char* text)
{
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::u16string Number(size_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string AndMore(size_t n)
{
    return Ascii("and ") + Number(n) + Ascii(" more");
}

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

std::u16string HostUtf16FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = 0;
        if (!HostNextUtf8(text, i, c)) {
            out.push_back(u'\uFFFD');
        } else if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::u16string HostEventText(const HostDayEvent& event, const HostSummaryFormat& format)
{
    std::u16string summary = HostUtf16FromUtf8(event.summary);
    if (summary.empty())
        summary = Ascii("(no title)");
    return event.startMinute < 0 ? summary : format.time(event.startMinute) + u' ' + summary;
}

std::u16string HostDayLine(const std::u16string& longDate, const std::vector<HostDayEvent>& events,
    const HostSummaryFormat& format, int32_t maxWidth)
{
    const std::u16string head = longDate + u':' + u' ';
    if (events.empty())
        return head + Ascii("no events");
    std::u16string line = head;
    size_t shown = 0;
    for (; shown < events.size(); ++shown) {
        std::u16string candidate = line + (shown == 0 ? u"" : u"; ") + HostEventText(events[shown], format);
        const size_t left = events.size() - shown - 1;
        if (format.width(left == 0 ? candidate : candidate + u"; " + AndMore(left)) > maxWidth)
            break;
        line = std::move(candidate);
    }
    if (shown == 0)
        return head + Number(events.size()) + Ascii(events.size() == 1 ? " event" : " events");
    return shown == events.size() ? line : line + u"; " + AndMore(events.size() - shown);
}

std::u16string HostDayTip(const std::vector<HostDayEvent>& events, const HostSummaryFormat& format,
    size_t maxLines, size_t capacity)
{
    if (capacity == 0 || events.empty())
        return {};
    const size_t room = capacity - 1;
    // As many whole lines as fit, the count of the rest kept true.
    for (size_t shown = events.size() <= maxLines ? events.size() : maxLines; shown > 0; --shown) {
        std::u16string tip;
        for (size_t i = 0; i < shown; ++i) {
            if (i != 0)
                tip += u'\n';
            tip += HostEventText(events[i], format);
        }
        if (shown < events.size()) {
            tip += u'\n';
            tip += AndMore(events.size() - shown);
        }
        if (tip.size() <= room)
            return tip;
    }
    // Not even one line: whole characters of the first.
    std::u16string tip = HostEventText(events.front(), format);
    size_t cut = room;
    if (cut > 0 && IsHighSurrogate(tip[cut - 1]))
        --cut;
    tip.resize(cut);
    return tip;
}
