// Built with -msse4.1 -mpclmul; callers check the processor first (crc32_fast_x86.cpp).
#include "crc32_fold_x86.h"
#include "crc32_kernels.h"

std::uint32_t Crc32UpdateClmul(std::uint32_t crc_register, const unsigned char* data,
                               std::size_t size) {
  if (size < 64) {
    return Crc32UpdatePortable(crc_register, data, size);
  }
  // The register enters XORed into the first 32 bits of the message.
  __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(crc_register)));
  __m128i x1 = Load(data + 16);
  __m128i x2 = Load(data + 32);
  __m128i x3 = Load(data + 48);
  data += 64;
  size -= 64;

  // Fold by four: four independent lanes, each carried 512 bits ahead, keep the
  // multiplier busy.
  const __m128i fold512 = FoldBy<512>();
  while (size >= 64) {
    x0 = Fold(x0, Load(data), fold512);
    x1 = Fold(x1, Load(data + 16), fold512);
    x2 = Fold(x2, Load(data + 32), fold512);
    x3 = Fold(x3, Load(data + 48), fold512);
    data += 64;
    size -= 64;
  }

  const __m128i fold128 = FoldBy<128>();
  __m128i x = Fold(x0, x1, fold128);
  x = Fold(x, x2, fold128);
  x = Fold(x, x3, fold128);
  return FinishFromLane(x, data, size);
}
