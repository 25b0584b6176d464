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
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    Put32(out, kHostFileVersion);
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
    if (version != kHostFileVersion)
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
    if (length < kHostWindowSize + 4 || count > kHostMaxTools ||
        length != kHostWindowSize + 4 + count * kHostToolSize)
        return Fail(HostFileStatus::damaged, "it is damaged (its list of tools is inconsistent)");

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
    return r;
}
