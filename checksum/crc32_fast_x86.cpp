#include <cpuid.h>

#include "crc32_kernels.h"

namespace {

struct Features {
  bool clmul;       // PCLMULQDQ and SSE4.1
  bool vpclmul256;  // VPCLMULQDQ and AVX2, with the operating system saving ymm state
  bool vpclmul512;  // VPCLMULQDQ and AVX-512F, with the operating system saving zmm state
};

// Reads the extended control register 0: which register states the operating system
// saves on a context switch. Only valid once CPUID reports OSXSAVE.
unsigned long long EnabledRegisterStates() {
  unsigned eax = 0;
  unsigned edx = 0;
  __asm__ volatile("xgetbv" : "=a"(eax), "=d"(edx) : "c"(0));
  return (static_cast<unsigned long long>(edx) << 32) | eax;
}

// No instruction a kernel needs may run before this says yes.
Features ReadFeatures() {
  Features features{false, false, false};
  unsigned eax = 0;
  unsigned ebx = 0;
  unsigned ecx = 0;
  unsigned edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return features;
  }
  features.clmul = (ecx & bit_PCLMUL) != 0 && (ecx & bit_SSE4_1) != 0;
  const bool has_avx = (ecx & bit_AVX) != 0;
  const bool os_saves_state = (ecx & bit_OSXSAVE) != 0;
  if (!features.clmul || !has_avx || !os_saves_state || __get_cpuid_max(0, nullptr) < 7) {
    return features;
  }
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  const bool has_vpclmul = (ecx & bit_VPCLMULQDQ) != 0;
  const unsigned long long states = EnabledRegisterStates();
  // XCR0 bits 1 and 2: XMM and YMM; bits 5, 6 and 7: opmask and both halves of zmm.
  constexpr unsigned long long kYmmStates = 0x06;
  constexpr unsigned long long kZmmStates = 0xE6;
  features.vpclmul256 = has_vpclmul && (ebx & bit_AVX2) != 0 && (states & kYmmStates) == kYmmStates;
  features.vpclmul512 =
      has_vpclmul && (ebx & bit_AVX512F) != 0 && (states & kZmmStates) == kZmmStates;
  return features;
}

constexpr Crc32Kernel kVpclmul512{"vpclmulqdq-avx512", Crc32UpdateVpclmul512};
constexpr Crc32Kernel kVpclmul256{"vpclmulqdq-avx2", Crc32UpdateVpclmul256};
constexpr Crc32Kernel kClmul{"pclmulqdq", Crc32UpdateClmul};

}  // namespace

Crc32KernelList Crc32FastKernels() {
  const Features features = ReadFeatures();
  Crc32KernelList list{{}, 0};
  if (features.vpclmul512) {
    list.kernels[list.count++] = &kVpclmul512;
  }
  if (features.vpclmul256) {
    list.kernels[list.count++] = &kVpclmul256;
  }
  if (features.clmul) {
    list.kernels[list.count++] = &kClmul;
  }
  return list;
}
