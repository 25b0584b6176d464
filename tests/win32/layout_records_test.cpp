// The settings block of a new tool, byte for byte as a host stores it. The
// record layouts themselves are checked at compile time in caltool.h.
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "plugin/caltool.h"
#include "tool/tool_settings.h"

TEST(LayoutRecordsTest, DefaultSettingsBlockByteForByte)
{
    CalToolSettings settings;
    std::memset(&settings, 0xA5, sizeof settings);  // every byte must be written
    CalSetDefaultSettings(&settings);

    unsigned char bytes[CAL_SETTINGS_SIZE];
    std::memcpy(bytes, &settings, sizeof bytes);

    // All zero but lfHeight -9 at 68, lfWeight 400 at 84 and "Arial" at 96.
    unsigned char expected[CAL_SETTINGS_SIZE] = {};
    const int32_t height = -9;
    const int32_t weight = 400;
    std::memcpy(expected + 68, &height, 4);
    std::memcpy(expected + 84, &weight, 4);
    std::memcpy(expected + 96, "Arial", 5);

    for (size_t i = 0; i < sizeof bytes; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
}
