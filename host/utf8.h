// Reading UTF-8 one character at a time, without the platform: what the
// host's calendar reading repairs and what its day texts turn into UTF-16.
#ifndef PANELHOST_UTF8_H
#define PANELHOST_UTF8_H

#include <cstddef>
#include <string_view>

// The character that begins at bytes[at] into code, with at moved past it;
// false, with at moved one byte on, where the bytes there are no well-formed
// sequence (an overlong form, a surrogate, a value past U+10FFFF, a sequence
// cut short or a byte that cannot begin one).
bool HostNextUtf8(std::string_view bytes, size_t& at, char32_t& code);

#endif
