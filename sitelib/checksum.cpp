#include <zlib.h>

#include "sitelib/sitelib.h"

// CRC-32: unlike a byte sum, it changes when two bytes are exchanged or two
// flags move in opposite directions, so no edit goes unnoticed at exit.
uint32_t iunique_sum(const void *address, size_t bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  const Bytef *p = static_cast<const Bytef *>(address);
  while (bytes > 0) {
    uInt chunk = bytes > 0x40000000u ? 0x40000000u : static_cast<uInt>(bytes);
    crc = crc32(crc, p, chunk);
    p += chunk;
    bytes -= chunk;
  }
  return static_cast<uint32_t>(crc);
}
