// The contract between the portable CRC code and the processor-specific kernels.
// Each architecture supplies one file that defines Crc32FastKernels; where there is
// no fast kernel, crc32_fast_none.cpp stands in.
#pragma once

#include <cstddef>
#include <cstdint>

struct Crc32Kernel {
  const char* name;
  std::uint32_t (*update)(std::uint32_t crc_register, const unsigned char* data, std::size_t size);
};

struct Crc32KernelList {
  const Crc32Kernel* kernels[4];
  int count;
};

// Lists the kernels that this processor and operating system can run, fastest first;
// empty when only the portable one applies. Cheap enough to call once at first use.
Crc32KernelList Crc32FastKernels();

// x86 kernels, each in a source of its own built with its instruction sets enabled;
// crc32_fast_x86.cpp lists them only when CPUID (and XGETBV) say they can run.

// Folds 64 bytes at a time with 128-bit carry-less multiplication (PCLMULQDQ, SSE4.1).
std::uint32_t Crc32UpdateClmul(std::uint32_t crc_register, const unsigned char* data,
                               std::size_t size);

// Folds 128 bytes at a time with 256-bit carry-less multiplication (VPCLMULQDQ, AVX2);
// shorter input goes to Crc32UpdateClmul.
std::uint32_t Crc32UpdateVpclmul256(std::uint32_t crc_register, const unsigned char* data,
                                    std::size_t size);

// Folds 256 bytes at a time with 512-bit carry-less multiplication (VPCLMULQDQ,
// AVX-512F); shorter input goes to Crc32UpdateClmul.
std::uint32_t Crc32UpdateVpclmul512(std::uint32_t crc_register, const unsigned char* data,
                                    std::size_t size);
