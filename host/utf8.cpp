#include "host/utf8.h"

bool HostNextUtf8(std::string_view bytes, size_t& at, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000;
    }
    bool valid = length > 0 && at + length <= bytes.size();
    code = length > 1 ? lead & (0x7Fu >> length) : lead;
    for (size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + k]);
        valid = (next & 0xC0) == 0x80;
        code = code << 6 | (next & 0x3Fu);
    }
    valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    at += valid ? length : 1;
    return valid;
}
