// CRC-32 of IEEE 802.3, as zlib's crc32() computes it: reflected polynomial
// 0xEDB88320, register preset to all ones, result complemented.
#pragma once

#include <cstddef>
#include <cstdint>

// The value a CRC register starts from; the CRC is its complement at the end.
inline constexpr std::uint32_t kCrc32Preset = 0xFFFFFFFFu;

// Holds the byte-at-a-time lookup table: entry i is the register change for index byte i.
extern const std::uint32_t Crc32Table[256];

// Advances a CRC register over `size` bytes with the fastest kernel this processor runs.
std::uint32_t Crc32Update(std::uint32_t crc_register, const void* data, std::size_t size);

// Advances a CRC register one byte at a time through the table; every kernel must agree with it.
std::uint32_t Crc32UpdatePortable(std::uint32_t crc_register, const void* data, std::size_t size);

// Names the kernel that Crc32Update uses on this processor.
const char* Crc32KernelName();

// Returns the finished CRC-32 of one buffer.
inline std::uint32_t Crc32(const void* data, std::size_t size) {
  return ~Crc32Update(kCrc32Preset, data, size);
}
