// Reads a PNG file for the tests, written apart from the host's writer: every
// chunk's CRC and the zlib stream's Adler-32 are checked. Reads what a
// plain writer produces: 8-bit RGB, no interlace, stored deflate blocks,
// rows without a filter.
#ifndef CALENDAR_TESTS_PNG_READ_H
#define CALENDAR_TESTS_PNG_READ_H

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

// Decodes bytes; on failure returns false with the reason in *error.
bool PngDecode(const std::vector<uint8_t>& bytes, PngImage* image, std::string* error);

#endif
