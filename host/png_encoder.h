// Encodes the panel's picture as a PNG with the platform's own imaging
// component (windowscodecs), which compresses it: a 600 x 440 panel takes
// tens of kilobytes rather than the raw pixels' 790.
#ifndef PANELHOST_PNG_ENCODER_H
#define PANELHOST_PNG_ENCODER_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// bgrx holds height rows of width pixels, 4 bytes each (blue, green, red,
// unused), top row first. On failure returns false with the reason in *error.
bool HostEncodePng(
    const uint32_t* bgrx, UINT width, UINT height, std::vector<uint8_t>* png, std::string* error);

#endif
