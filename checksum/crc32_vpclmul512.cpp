// Built with -mavx512f -mvpclmulqdq -mpclmul -msse4.1; callers check the processor and
// that the operating system saves the zmm registers first (crc32_fast_x86.cpp). The
// folding is the 128-bit kernel's, four lanes to a zmm register.
#include "crc32_fold_x86.h"
#include "crc32_kernels.h"

namespace {

__m512i Load512(const unsigned char* data) { return _mm512_loadu_si512(data); }

// The zero-masked forms: GCC 12 warns that the plain ones read an undefined register.
__m512i Broadcast(__m128i lane) { return _mm512_maskz_broadcast_i32x4(0xFFFF, lane); }

template <int kLane>
__m128i Lane(__m512i lanes) {
  return _mm512_maskz_extracti32x4_epi32(0xF, lanes, kLane);
}

// Carries each of the four lanes of `lanes` forward and adds `next`; 0x96 is the
// three-way XOR.
__m512i Fold512(__m512i lanes, __m512i next, __m512i constants) {
  const __m512i low = _mm512_clmulepi64_epi128(lanes, constants, 0x00);
  const __m512i high = _mm512_clmulepi64_epi128(lanes, constants, 0x11);
  return _mm512_ternarylogic_epi64(next, low, high, 0x96);
}

}  // namespace

std::uint32_t Crc32UpdateVpclmul512(std::uint32_t crc_register, const unsigned char* data,
                                    std::size_t size) {
  if (size < 256) {
    return Crc32UpdateClmul(crc_register, data, size);
  }
  // The register enters XORed into the first 32 bits of the message.
  const __m128i start = _mm_cvtsi32_si128(static_cast<int>(crc_register));
  __m512i z0 = _mm512_xor_si512(Load512(data), _mm512_zextsi128_si512(start));
  __m512i z1 = Load512(data + 64);
  __m512i z2 = Load512(data + 128);
  __m512i z3 = Load512(data + 192);
  data += 256;
  size -= 256;

  // Four registers of four lanes, each lane carried 2048 bits ahead per round.
  const __m512i fold2048 = Broadcast(FoldBy<2048>());
  while (size >= 256) {
    z0 = Fold512(z0, Load512(data), fold2048);
    z1 = Fold512(z1, Load512(data + 64), fold2048);
    z2 = Fold512(z2, Load512(data + 128), fold2048);
    z3 = Fold512(z3, Load512(data + 192), fold2048);
    data += 256;
    size -= 256;
  }

  // Four registers into one, then whole 64-byte blocks left.
  const __m512i fold512 = Broadcast(FoldBy<512>());
  __m512i z = Fold512(z0, z1, fold512);
  z = Fold512(z, z2, fold512);
  z = Fold512(z, z3, fold512);
  while (size >= 64) {
    z = Fold512(z, Load512(data), fold512);
    data += 64;
    size -= 64;
  }

  // The four lanes of one register into one lane.
  const __m128i fold128 = FoldBy<128>();
  __m128i x = Fold(Lane<0>(z), Lane<1>(z), fold128);
  x = Fold(x, Lane<2>(z), fold128);
  x = Fold(x, Lane<3>(z), fold128);
  return FinishFromLane(x, data, size);
}
