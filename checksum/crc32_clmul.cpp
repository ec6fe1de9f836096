// Built with -msse4.1 -mpclmul; callers check the processor first (crc32_fast_x86.cpp).
#include "crc32_fold_x86.h"
#include "crc32_kernels.h"

namespace {

// One lane to a register: 64 bytes a round.
struct Xmm {
  using Vector = __m128i;
  static Vector Load(const unsigned char* data) { return Load128(data); }
  static Vector Fold(Vector lanes, Vector next, Vector constants) {
    return Fold128(lanes, next, constants);
  }
  static Vector Spread(__m128i constants) { return constants; }
  static Vector WithRegister(Vector lanes, std::uint32_t crc_register) {
    return _mm_xor_si128(lanes, _mm_cvtsi32_si128(static_cast<int>(crc_register)));
  }
  static __m128i ToLane(Vector lanes) { return lanes; }
  static std::uint32_t Short(std::uint32_t crc_register, const unsigned char* data,
                             std::size_t size) {
    return Crc32UpdatePortable(crc_register, data, size);
  }
};

}  // namespace

std::uint32_t Crc32UpdateClmul(std::uint32_t crc_register, const unsigned char* data,
                               std::size_t size) {
  return FoldFourRegisters<Xmm>(crc_register, data, size);
}
