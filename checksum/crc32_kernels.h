// The contract between the portable CRC code and the processor-specific kernels.
// Each architecture supplies one file that defines Crc32FastKernel; where there is
// no fast kernel, crc32_fast_none.cpp stands in.
#pragma once

#include <cstddef>
#include <cstdint>

struct Crc32Kernel {
  const char* name;
  std::uint32_t (*update)(std::uint32_t crc_register, const unsigned char* data, std::size_t size);
};

// Returns the fastest kernel that this processor and operating system can run, or
// nullptr when only the portable one applies. Cheap enough to call once at first use.
const Crc32Kernel* Crc32FastKernel();

// Folds 64 bytes at a time with carry-less multiplication (x86, PCLMULQDQ and SSE4.1);
// crc32_clmul.cpp, the one source built with those instruction sets enabled.
std::uint32_t Crc32UpdateClmul(std::uint32_t crc_register, const unsigned char* data,
                               std::size_t size);
