// What the tests of a running host expect of its settings file. Inline, for
// the programs that link the host's format code (panelhost_core).
#ifndef CALENDAR_TESTS_HOST_EXPECTATIONS_H
#define CALENDAR_TESTS_HOST_EXPECTATIONS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "host/settings_format.h"
#include "tests/win32/support/host_process.h"

// The file's bytes hold exactly the live blocks of the running host's tools,
// in order.
inline void ExpectFileMatchesLive(const HostProcess& host, const std::vector<BYTE>& bytes)
{
    const HostDecodeResult file = HostDecodeSettings(bytes.data(), bytes.size());
    ASSERT_EQ(file.status, HostFileStatus::ok) << file.detail;
    const std::vector<HWND> tools = host.Tools();
    ASSERT_EQ(file.panel.tools.size(), tools.size());
    for (size_t i = 0; i < tools.size(); ++i)
        EXPECT_EQ(file.panel.tools[i].block, host.LiveBlock(tools[i])) << "tool " << i;
}

#endif
