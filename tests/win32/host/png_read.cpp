#include "png_read.h"

#include <cstring>

namespace {

// Bit by bit, unlike the writer's table.
uint32_t Crc(const uint8_t* p, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

uint32_t Big32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

bool Inflate(const std::vector<uint8_t>& z, std::vector<uint8_t>* out, std::string* error)
{
    if (z.size() < 6 || (z[0] & 0x0F) != 8 || (z[0] * 256 + z[1]) % 31 != 0) {
        *error = "bad zlib header";
        return false;
    }
    size_t bit = 16;  // position in bits
    bool last = false;
    while (!last) {
        auto bits = [&](int n) {
            uint32_t v = 0;
            for (int i = 0; i < n; ++i, ++bit)
                v |= uint32_t{(z[bit / 8] >> (bit % 8)) & 1u} << i;
            return v;
        };
        if (bit / 8 + 1 >= z.size()) {
            *error = "deflate stream ends early";
            return false;
        }
        last = bits(1) != 0;
        if (bits(2) != 0) {
            *error = "not a stored block";
            return false;
        }
        bit = (bit + 7) / 8 * 8;
        const size_t at = bit / 8;
        if (at + 4 > z.size()) {
            *error = "stored block header cut";
            return false;
        }
        const uint32_t len = z[at] | uint32_t{z[at + 1]} << 8;
        const uint32_t nlen = z[at + 2] | uint32_t{z[at + 3]} << 8;
        if ((len ^ 0xFFFFu) != nlen || at + 4 + len > z.size()) {
            *error = "stored block length wrong";
            return false;
        }
        out->insert(out->end(), z.begin() + static_cast<std::ptrdiff_t>(at + 4),
            z.begin() + static_cast<std::ptrdiff_t>(at + 4 + len));
        bit = (at + 4 + len) * 8;
    }
    const size_t at = bit / 8;
    if (at + 4 != z.size()) {
        *error = "zlib stream length wrong";
        return false;
    }
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t v : *out) {
        a = (a + v) % 65521u;
        b = (b + a) % 65521u;
    }
    if ((b << 16 | a) != Big32(&z[at])) {
        *error = "Adler-32 mismatch";
        return false;
    }
    return true;
}

}  // namespace

bool PngDecode(const std::vector<uint8_t>& bytes, PngImage* image, std::string* error)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), signature, 8) != 0) {
        *error = "no PNG signature";
        return false;
    }
    std::vector<uint8_t> z;
    bool header = false;
    bool end = false;
    for (size_t at = 8; !end;) {
        if (at + 12 > bytes.size()) {
            *error = "chunk cut short";
            return false;
        }
        const uint32_t length = Big32(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            *error = "chunk longer than the file";
            return false;
        }
        const uint8_t* type = &bytes[at + 4];
        const uint8_t* data = type + 4;
        if (Crc(type, length + 4) != Big32(data + length)) {
            *error = "CRC mismatch in chunk " + std::string(reinterpret_cast<const char*>(type), 4);
            return false;
        }
        if (std::memcmp(type, "IHDR", 4) == 0 && length == 13) {
            image->width = Big32(data);
            image->height = Big32(data + 4);
            if (data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 || data[12] != 0) {
                *error = "not 8-bit RGB without interlace";
                return false;
            }
            header = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            z.insert(z.end(), data, data + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            end = true;
        }
        at += 12 + length;
    }
    std::vector<uint8_t> raw;
    if (!header || !Inflate(z, &raw, error)) {
        if (!header)
            *error = "no IHDR";
        return false;
    }
    const size_t stride = size_t{image->width} * 3;
    if (raw.size() != (stride + 1) * image->height) {
        *error = "image data has the wrong size";
        return false;
    }
    image->rgb.clear();
    for (uint32_t y = 0; y < image->height; ++y) {
        const auto row = raw.begin() + static_cast<std::ptrdiff_t>(y * (stride + 1));
        if (*row != 0) {
            *error = "row filter " + std::to_string(*row) + " is not read here";
            return false;
        }
        image->rgb.insert(image->rgb.end(), row + 1, row + 1 + static_cast<std::ptrdiff_t>(stride));
    }
    return true;
}
