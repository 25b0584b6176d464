// The panel's settings file, encoded and decoded without the platform: the
// window's placement, for every tool its type, its rectangle and the
// 132-byte block the tool handed out, and the calendar files the user keeps. A fixed header (magic, version,
// payload length, CRC-32 of the payload) lets a damaged or foreign file be
// told from a good one before anything of it is used.
#ifndef PANELHOST_SETTINGS_FORMAT_H
#define PANELHOST_SETTINGS_FORMAT_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kHostBlockSize = 132;    // the tool's settings block
constexpr size_t kHostMaxTools = 64;      // more than any panel holds
constexpr uint32_t kHostFileVersion = 1;  // the tools alone
// The tools, then the calendar files: written only when there are files, so
// that a panel without any stays readable by hosts that know version 1.
constexpr uint32_t kHostFileVersionCalendars = 2;
constexpr size_t kHostMaxCalendars = 256;
constexpr size_t kHostMaxPathBytes = 4 * 32767;  // the longest path the platform takes, in UTF-8
constexpr size_t kHostHeaderSize = 20;    // magic 8, version, length, CRC
constexpr size_t kHostWindowSize = 20;    // left, top, right, bottom, show state
constexpr size_t kHostToolSize = 4 + 16 + kHostBlockSize;

struct HostRect32 {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct HostSavedTool {
    uint32_t type = 0;  // index of the panel type the plug-in described
    HostRect32 rect;    // in the panel's client coordinates
    std::array<uint8_t, kHostBlockSize> block{};
};

struct HostSavedPanel {
    HostRect32 window;      // the window's normal (restored) rectangle on the screen
    int32_t showState = 1;  // 1 normal, 3 maximised
    std::vector<HostSavedTool> tools;
    std::vector<std::string> calendars;  // paths of calendar files, UTF-8
};

enum class HostFileStatus {
    ok,
    empty,      // no bytes at all
    truncated,  // ends before the length its header announces
    foreign,    // does not begin with the magic: not a settings file of this panel
    newer,      // a version this program does not know
    damaged,    // checksum or structure does not match
};

struct HostDecodeResult {
    HostFileStatus status = HostFileStatus::ok;
    std::string detail;  // what was found, in plain words
    HostSavedPanel panel;
};

std::vector<uint8_t> HostEncodeSettings(const HostSavedPanel& panel);
HostDecodeResult HostDecodeSettings(const uint8_t* data, size_t size);

#endif
