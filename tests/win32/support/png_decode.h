// Reads the host's pictures back for the tests with the platform's own PNG
// decoder (windowscodecs), the component the host encodes them with. Their
// validity is checked apart from the platform by pngfix, outside Wine.
#ifndef CALENDAR_TESTS_PNG_DECODE_H
#define CALENDAR_TESTS_PNG_DECODE_H

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;           // top row first, 3 bytes a pixel
    uint32_t Pixel(int x, int y) const  // 0xRRGGBB
    {
        const size_t i = (size_t(y) * width + size_t(x)) * 3;
        return uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2];
    }
};

// Decodes bytes, which must be a PNG; on failure returns false with the reason in *error.
bool PngDecode(const std::vector<uint8_t>& bytes, PngImage* image, std::string* error);

// Ink is whatever stands out from the ground (0xRRGGBB both) by more than 24
// in a channel: text smoothed to any degree, in whatever face the system
// gives for the font.
inline bool PngIsInk(uint32_t rgb, uint32_t ground)
{
    for (int shift : {16, 8, 0}) {
        const int d = int((rgb >> shift) & 0xFF) - int((ground >> shift) & 0xFF);
        if (d > 24 || d < -24)
            return true;
    }
    return false;
}

#endif
