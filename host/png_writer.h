// A minimal PNG writer: 8-bit RGB, no interlace, the image data in stored
// (uncompressed) deflate blocks. Enough for a faithful picture of the
// panel without any library. Platform-free.
#ifndef PANELHOST_PNG_WRITER_H
#define PANELHOST_PNG_WRITER_H

#include <cstddef>
#include <cstdint>
#include <vector>

// rgb holds height rows of width pixels, 3 bytes each, top row first.
std::vector<uint8_t> HostEncodePng(const uint8_t* rgb, uint32_t width, uint32_t height);

#endif
