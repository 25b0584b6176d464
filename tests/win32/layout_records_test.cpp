// The records a host stores or reads, laid out byte for byte as 32-bit
// Windows lays them out, and the settings of a new tool.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "plugin/caltool.h"
#include "tool/tool_settings.h"

namespace {

int32_t ReadInt32(const unsigned char* bytes, size_t offset)
{
    int32_t value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

}  // namespace

TEST(LayoutRecordsTest, DefaultSettingsBlockByteForByte)
{
    CalToolSettings settings;
    std::memset(&settings, 0xA5, sizeof settings);  // every byte must be written
    CalSetDefaultSettings(&settings);

    unsigned char bytes[CAL_SETTINGS_SIZE];
    ASSERT_EQ(sizeof settings, sizeof bytes);
    std::memcpy(bytes, &settings, sizeof bytes);

    unsigned char expected[CAL_SETTINGS_SIZE] = {};
    const int32_t height = -9;
    const int32_t weight = 400;
    std::memcpy(expected + 68, &height, 4);
    std::memcpy(expected + 84, &weight, 4);
    std::memcpy(expected + 96, "Arial", 5);

    for (size_t i = 0; i < sizeof bytes; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;

    EXPECT_EQ(ReadInt32(bytes, 0), 0);    // no week numbers
    EXPECT_EQ(ReadInt32(bytes, 4), 0);    // Sunday first
    EXPECT_EQ(ReadInt32(bytes, 128), 0);  // no host background
    EXPECT_STREQ(settings.font.lfFaceName, "Arial");
}

TEST(LayoutRecordsTest, FieldsLandAtTheirStoredOffsets)
{
    // Writing through the named fields must reach the documented offsets of
    // the stored block, whatever the compiler does with the structures.
    CalToolSettings settings;
    std::memset(&settings, 0, sizeof settings);
    settings.weekNumbers = 0x11111111;
    settings.firstDay = 0x22222222;
    settings.chooseFont.lStructSize = 0x33333333;
    settings.chooseFont.iPointSize = 0x44444444;
    settings.chooseFont.nFontType = 0x5555;
    settings.chooseFont.nSizeMin = 0x66666666;
    settings.chooseFont.nSizeMax = 0x77777777;
    settings.font.lfHeight = 0x08080808;
    settings.font.lfCharSet = 0x99;
    settings.font.lfFaceName[0] = 'Z';
    settings.useBackground = 0x0A0A0A0A;

    unsigned char b[CAL_SETTINGS_SIZE];
    std::memcpy(b, &settings, sizeof b);
    EXPECT_EQ(ReadInt32(b, 0), 0x11111111);
    EXPECT_EQ(ReadInt32(b, 4), 0x22222222);
    EXPECT_EQ(ReadInt32(b, 8), 0x33333333);
    EXPECT_EQ(ReadInt32(b, 24), 0x44444444);
    EXPECT_EQ(b[56], 0x55);
    EXPECT_EQ(b[57], 0x55);
    EXPECT_EQ(b[58], 0);  // the alignment word
    EXPECT_EQ(b[59], 0);
    EXPECT_EQ(ReadInt32(b, 60), 0x66666666);
    EXPECT_EQ(ReadInt32(b, 64), 0x77777777);
    EXPECT_EQ(ReadInt32(b, 68), 0x08080808);
    EXPECT_EQ(b[91], 0x99);
    EXPECT_EQ(b[96], 'Z');
    EXPECT_EQ(ReadInt32(b, 128), 0x0A0A0A0A);
}
