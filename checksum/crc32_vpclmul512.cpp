// Built with -mavx512f -mvpclmulqdq -mpclmul -msse4.1; callers check the processor and
// that the operating system saves the zmm registers first (crc32_fast_x86.cpp).
#include "crc32_fold_x86.h"
#include "crc32_kernels.h"

namespace {

// Four lanes to a register: 256 bytes a round. The zero-masked broadcast and extract,
// because GCC 12 warns that the plain ones read an undefined register.
struct Zmm {
  using Vector = __m512i;
  static Vector Load(const unsigned char* data) { return _mm512_loadu_si512(data); }
  static Vector Fold(Vector lanes, Vector next, Vector constants) {
    const __m512i low = _mm512_clmulepi64_epi128(lanes, constants, 0x00);
    const __m512i high = _mm512_clmulepi64_epi128(lanes, constants, 0x11);
    return _mm512_ternarylogic_epi64(next, low, high, 0x96);  // 0x96: three-way XOR
  }
  static Vector Spread(__m128i constants) {
    return _mm512_maskz_broadcast_i32x4(0xFFFF, constants);
  }
  static Vector WithRegister(Vector lanes, std::uint32_t crc_register) {
    const __m128i first = _mm_cvtsi32_si128(static_cast<int>(crc_register));
    return _mm512_xor_si512(lanes, _mm512_zextsi128_si512(first));
  }
  static __m128i ToLane(Vector lanes) {
    const __m128i fold128 = FoldBy<128>();
    __m128i lane = _mm512_maskz_extracti32x4_epi32(0xF, lanes, 0);
    lane = Fold128(lane, _mm512_maskz_extracti32x4_epi32(0xF, lanes, 1), fold128);
    lane = Fold128(lane, _mm512_maskz_extracti32x4_epi32(0xF, lanes, 2), fold128);
    return Fold128(lane, _mm512_maskz_extracti32x4_epi32(0xF, lanes, 3), fold128);
  }
  static std::uint32_t Short(std::uint32_t crc_register, const unsigned char* data,
                             std::size_t size) {
    return Crc32UpdateClmul(crc_register, data, size);
  }
};

}  // namespace

std::uint32_t Crc32UpdateVpclmul512(std::uint32_t crc_register, const unsigned char* data,
                                    std::size_t size) {
  return FoldFourRegisters<Zmm>(crc_register, data, size);
}
