// CRC-32 (the polynomial of zip and PNG), shared by the settings file and
// the picture writer. Platform-free.
#ifndef PANELHOST_CRC32_H
#define PANELHOST_CRC32_H

#include <cstddef>
#include <cstdint>

// Continues a CRC over size more bytes; start with crc 0.
uint32_t HostCrc32(uint32_t crc, const void* data, size_t size);

#endif
