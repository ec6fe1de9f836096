#pragma once

#include <cstdint>

// The result code of a file that does not exist, the same number on every platform.
inline constexpr std::uint32_t kNoSuchFile = 2;

// Computes the CRC-32 of the whole file `name` (relative to the current directory) into
// *computed. Returns 0 when the file was read to its end, kNoSuchFile when it does not
// exist, and otherwise the system's error code of the open or read that failed.
std::uint32_t ComputeFileChecksum(const char* name, std::uint32_t* computed);
