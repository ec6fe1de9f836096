#include <cpuid.h>

#include "crc32_kernels.h"

namespace {

// Reads CPUID leaf 1; no instruction the kernel needs may run before this says yes.
bool ProcessorHasClmul() {
  unsigned eax = 0;
  unsigned ebx = 0;
  unsigned ecx = 0;
  unsigned edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return false;
  }
  return (ecx & bit_PCLMUL) != 0 && (ecx & bit_SSE4_1) != 0;
}

}  // namespace

const Crc32Kernel* Crc32FastKernel() {
  static constexpr Crc32Kernel kClmul{"pclmulqdq", Crc32UpdateClmul};
  return ProcessorHasClmul() ? &kClmul : nullptr;
}
