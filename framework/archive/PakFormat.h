// The bytes of "main.pak", shared by the reader and the archive builder. Every byte of the file
// is stored XOR-ed with kPakKey; numbers are little-endian.
//   magic (4) version (4) entries... closing flags byte, then the data of every entry in order.
//   entry: flags (1, bit 7 clear) name length (1) name (n, '\' separators) size (4) FILETIME (8)
#pragma once

#include <cstdint>

namespace Vel {

constexpr uint8_t kPakKey = 0xA7;
constexpr uint32_t kPakMagic = 0xBAC04AC0;
constexpr uint32_t kPakVersion = 0;
constexpr uint8_t kPakEndOfDirectory = 0x80; // a flags byte with bit 7 set closes the directory
constexpr uint8_t kPakEndBit = 0x80;

} // namespace Vel
