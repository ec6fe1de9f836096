// Built with -mavx2 -mvpclmulqdq -mpclmul -msse4.1; callers check the processor and that
// the operating system saves the ymm registers first (crc32_fast_x86.cpp). For
// processors with VPCLMULQDQ but without AVX-512.
#include "crc32_fold_x86.h"
#include "crc32_kernels.h"

namespace {

// Two lanes to a register: 128 bytes a round.
struct Ymm {
  using Vector = __m256i;
  static Vector Load(const unsigned char* data) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
  }
  static Vector Fold(Vector lanes, Vector next, Vector constants) {
    const __m256i low = _mm256_clmulepi64_epi128(lanes, constants, 0x00);
    const __m256i high = _mm256_clmulepi64_epi128(lanes, constants, 0x11);
    return _mm256_xor_si256(_mm256_xor_si256(next, low), high);
  }
  static Vector Spread(__m128i constants) { return _mm256_broadcastsi128_si256(constants); }
  static Vector WithRegister(Vector lanes, std::uint32_t crc_register) {
    const __m128i first = _mm_cvtsi32_si128(static_cast<int>(crc_register));
    return _mm256_xor_si256(lanes, _mm256_zextsi128_si256(first));
  }
  static __m128i ToLane(Vector lanes) {
    return Fold128(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1),
                   FoldBy<128>());
  }
  static std::uint32_t Short(std::uint32_t crc_register, const unsigned char* data,
                             std::size_t size) {
    return Crc32UpdateClmul(crc_register, data, size);
  }
};

}  // namespace

std::uint32_t Crc32UpdateVpclmul256(std::uint32_t crc_register, const unsigned char* data,
                                    std::size_t size) {
  return FoldFourRegisters<Ymm>(crc_register, data, size);
}
