// Built with -mavx2 -mvpclmulqdq -mpclmul -msse4.1; callers check the processor and that
// the operating system saves the ymm registers first (crc32_fast_x86.cpp). The folding
// is the 128-bit kernel's, two lanes to a ymm register: for processors with VPCLMULQDQ
// but without AVX-512.
#include "crc32_fold_x86.h"
#include "crc32_kernels.h"

namespace {

__m256i Load256(const unsigned char* data) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
}

// Carries both lanes of `lanes` forward and adds `next`.
__m256i Fold256(__m256i lanes, __m256i next, __m256i constants) {
  const __m256i low = _mm256_clmulepi64_epi128(lanes, constants, 0x00);
  const __m256i high = _mm256_clmulepi64_epi128(lanes, constants, 0x11);
  return _mm256_xor_si256(_mm256_xor_si256(next, low), high);
}

}  // namespace

std::uint32_t Crc32UpdateVpclmul256(std::uint32_t crc_register, const unsigned char* data,
                                    std::size_t size) {
  if (size < 128) {
    return Crc32UpdateClmul(crc_register, data, size);
  }
  // The register enters XORed into the first 32 bits of the message.
  const __m128i start = _mm_cvtsi32_si128(static_cast<int>(crc_register));
  __m256i y0 = _mm256_xor_si256(Load256(data), _mm256_zextsi128_si256(start));
  __m256i y1 = Load256(data + 32);
  __m256i y2 = Load256(data + 64);
  __m256i y3 = Load256(data + 96);
  data += 128;
  size -= 128;

  // Four registers of two lanes, each lane carried 1024 bits ahead per round.
  const __m256i fold1024 = _mm256_broadcastsi128_si256(FoldBy<1024>());
  while (size >= 128) {
    y0 = Fold256(y0, Load256(data), fold1024);
    y1 = Fold256(y1, Load256(data + 32), fold1024);
    y2 = Fold256(y2, Load256(data + 64), fold1024);
    y3 = Fold256(y3, Load256(data + 96), fold1024);
    data += 128;
    size -= 128;
  }

  // Four registers into one, then whole 32-byte blocks left.
  const __m256i fold256 = _mm256_broadcastsi128_si256(FoldBy<256>());
  __m256i y = Fold256(y0, y1, fold256);
  y = Fold256(y, y2, fold256);
  y = Fold256(y, y3, fold256);
  while (size >= 32) {
    y = Fold256(y, Load256(data), fold256);
    data += 32;
    size -= 32;
  }

  // The two lanes of one register into one lane.
  const __m128i x = Fold(_mm256_castsi256_si128(y), _mm256_extracti128_si256(y, 1), FoldBy<128>());
  return FinishFromLane(x, data, size);
}
