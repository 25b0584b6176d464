#include "host/settings_format.h"

#include <cstring>

#include "host/crc32.h"

namespace {

// Ends in ^Z like a PNG signature, so that a text-mode copy shows up as damage.
constexpr uint8_t kMagic[8] = {'P', 'n', 'l', 'H', 'o', 's', 't', 0x1A};

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void PutRect(std::vector<uint8_t>& out, const HostRect32& r)
{
    for (int32_t v : {r.left, r.top, r.right, r.bottom})
        Put32(out, static_cast<uint32_t>(v));
}

HostRect32 GetRect(const uint8_t* p)
{
    return {static_cast<int32_t>(Get32(p)), static_cast<int32_t>(Get32(p + 4)),
        static_cast<int32_t>(Get32(p + 8)), static_cast<int32_t>(Get32(p + 12))};
}

// The calendar files: a count of at least one, then each path's length and
// bytes, filling the rest of the payload exactly.
bool ReadCalendars(const uint8_t* p, size_t size, std::vector<std::string>* paths)
{
    if (size < 4)
        return false;
    const uint32_t count = Get32(p);
    if (count == 0 || count > kHostMaxCalendars)
        return false;
    size_t at = 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - at < 4)
            return false;
        const uint32_t bytes = Get32(p + at);
        at += 4;
        if (bytes == 0 || bytes > kHostMaxPathBytes || bytes > size - at)
            return false;
        paths->emplace_back(reinterpret_cast<const char*>(p + at), bytes);
        at += bytes;
    }
    return at == size;
}

HostDecodeResult Fail(HostFileStatus status, std::string detail)
{
    HostDecodeResult r;
    r.status = status;
    r.detail = std::move(detail);
    return r;
}

}  // namespace

std::vector<uint8_t> HostEncodeSettings(const HostSavedPanel& panel)
{
    std::vector<uint8_t> payload;
    PutRect(payload, panel.window);
    Put32(payload, static_cast<uint32_t>(panel.showState));
    Put32(payload, static_cast<uint32_t>(panel.tools.size()));
    for (const HostSavedTool& tool : panel.tools) {
        Put32(payload, tool.type);
        PutRect(payload, tool.rect);
        payload.insert(payload.end(), tool.block.begin(), tool.block.end());
    }
    // Only what a decoder takes back: no empty or overlong path, no more than the most.
    std::vector<const std::string*> calendars;
    for (const std::string& path : panel.calendars)
        if (!path.empty() && path.size() <= kHostMaxPathBytes && calendars.size() < kHostMaxCalendars)
            calendars.push_back(&path);
    if (!calendars.empty()) {
        Put32(payload, static_cast<uint32_t>(calendars.size()));
        for (const std::string* path : calendars) {
            Put32(payload, static_cast<uint32_t>(path->size()));
            payload.insert(payload.end(), path->begin(), path->end());
        }
    }
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    Put32(out, calendars.empty() ? kHostFileVersion : kHostFileVersionCalendars);
    Put32(out, static_cast<uint32_t>(payload.size()));
    Put32(out, HostCrc32(0, payload.data(), payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

HostDecodeResult HostDecodeSettings(const uint8_t* data, size_t size)
{
    using std::to_string;
    if (size == 0)
        return Fail(HostFileStatus::empty, "it is empty");
    const size_t magicSeen = size < sizeof kMagic ? size : sizeof kMagic;
    if (std::memcmp(data, kMagic, magicSeen) != 0)
        return Fail(HostFileStatus::foreign, "it is not a panel settings file");
    if (size < kHostHeaderSize)
        return Fail(HostFileStatus::truncated, "it is truncated (" + to_string(size) + " bytes)");
    const uint32_t version = Get32(data + 8);
    if (version != kHostFileVersion && version != kHostFileVersionCalendars)
        return Fail(HostFileStatus::newer, "it is of another format version (" + to_string(version) + ")");
    const uint32_t length = Get32(data + 12);
    const size_t present = size - kHostHeaderSize;
    if (length > present)
        return Fail(HostFileStatus::truncated,
            "it is truncated (" + to_string(present) + " of " + to_string(length) + " bytes)");
    if (length < present)
        return Fail(
            HostFileStatus::damaged, "it is damaged (" + to_string(present - length) + " extra bytes)");
    const uint8_t* payload = data + kHostHeaderSize;
    if (HostCrc32(0, payload, length) != Get32(data + 16))
        return Fail(HostFileStatus::damaged, "it is damaged (its checksum does not match)");
    const uint32_t count = length >= kHostWindowSize + 4 ? Get32(payload + kHostWindowSize) : 0;
    const size_t toolsEnd = kHostWindowSize + 4 + size_t{count} * kHostToolSize;
    if (length < kHostWindowSize + 4 || count > kHostMaxTools ||
        (version == kHostFileVersion ? length != toolsEnd : length < toolsEnd))
        return Fail(HostFileStatus::damaged, "it is damaged (its list of tools is inconsistent)");
    std::vector<std::string> calendars;
    if (version == kHostFileVersionCalendars && !ReadCalendars(payload + toolsEnd, length - toolsEnd, &calendars))
        return Fail(HostFileStatus::damaged, "it is damaged (its list of calendar files is inconsistent)");

    HostDecodeResult r;
    r.panel.window = GetRect(payload);
    r.panel.showState = static_cast<int32_t>(Get32(payload + 16));
    const uint8_t* p = payload + kHostWindowSize + 4;
    for (uint32_t i = 0; i < count; ++i, p += kHostToolSize) {
        HostSavedTool tool;
        tool.type = Get32(p);
        tool.rect = GetRect(p + 4);
        std::memcpy(tool.block.data(), p + 20, kHostBlockSize);
        r.panel.tools.push_back(tool);
    }
    r.panel.calendars = std::move(calendars);
    return r;
}
