// CRC-32 by folding with carry-less multiplication, after V. Gopal et al., "Fast CRC
// Computation for Generic Polynomials Using PCLMULQDQ Instruction", Intel, 2009, in its
// bit-reflected form. Like the Linux and zlib-ng kernels it reduces 128 to 64 bits with
// the single-lane folding constant and k5 rather than with the paper's own constants.
//
// Included only by the kernel sources, each built with its own instruction sets; the
// anonymous namespace gives every kernel its own copy, compiled for its own flags.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "crc32.h"

namespace {

// P(x) in normal bit order, x^32 implied; the table's 0xEDB88320 is this reflected.
constexpr std::uint32_t kPolynomial = 0x04C11DB7u;

constexpr std::uint64_t Reflect(std::uint64_t value, unsigned bits) {
  std::uint64_t reflected = 0;
  for (unsigned i = 0; i < bits; ++i) {
    reflected = (reflected << 1) | ((value >> i) & 1u);
  }
  return reflected;
}

// Computes x^n mod P(x).
constexpr std::uint32_t XPowerModP(unsigned n) {
  std::uint32_t remainder = 1;
  for (unsigned i = 0; i < n; ++i) {
    remainder = (remainder << 1) ^ ((remainder & 0x80000000u) != 0 ? kPolynomial : 0u);
  }
  return remainder;
}

// Computes floor(x^64 / P(x)), a polynomial of degree 32, by long division.
constexpr std::uint64_t BarrettQuotient() {
  const std::uint64_t p = (std::uint64_t{1} << 32) | kPolynomial;
  std::uint64_t remainder = 0;
  std::uint64_t quotient = 0;
  for (int bit = 64; bit >= 0; --bit) {
    remainder = (remainder << 1) | (bit == 64 ? 1u : 0u);
    const std::uint64_t take = (remainder >> 32) & 1u;
    remainder ^= take != 0 ? p : 0;
    quotient = (quotient << 1) | take;
  }
  return quotient;
}

// In the reflected domain, moving 128 bits forward by n bits multiplies their halves by
// x^(n+32) and x^(n-32) mod P, each reflected and shifted left once (the product of two
// reflected values comes out one bit short).
constexpr long long FoldConstant(unsigned n) {
  const std::uint64_t constant = Reflect(XPowerModP(n), 32) << 1;
  return static_cast<long long>(constant);
}

constexpr long long kFold64 = FoldConstant(64);  // 96 bits down to 64
constexpr long long kPReflected = static_cast<long long>(Reflect((1ull << 32) | kPolynomial, 33));
constexpr long long kQuotientReflected = static_cast<long long>(Reflect(BarrettQuotient(), 33));

static_assert(kPReflected == ((0xEDB88320ll << 1) | 1), "polynomial disagrees with the table");

// The constants that carry a 128-bit lane kBits forward, low half in the low qword.
// Held in constexpr variables so they are worked out while compiling: the derivation's
// loops would cost more than a 4096-byte chunk's whole CRC if they ran per call.
template <unsigned kBits>
__m128i FoldBy() {
  constexpr long long kLow = FoldConstant(kBits + 32);
  constexpr long long kHigh = FoldConstant(kBits - 32);
  return _mm_set_epi64x(kHigh, kLow);
}

__m128i Load128(const unsigned char* data) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
}

// Carries `lane` forward over the distance the constants stand for and adds `next`.
__m128i Fold128(__m128i lane, __m128i next, __m128i constants) {
  const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
  const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
  return _mm_xor_si128(_mm_xor_si128(next, low), high);
}

// Folds the whole 16-byte blocks left into the one lane `x`, reduces it to the 32-bit
// register and finishes the last few bytes through the table.
std::uint32_t FinishFromLane(__m128i x, const unsigned char* data, std::size_t size) {
  const __m128i fold128 = FoldBy<128>();
  while (size >= 16) {
    x = Fold128(x, Load128(data), fold128);
    data += 16;
    size -= 16;
  }

  // Reduce 128 bits to 96, then 96 to 64.
  const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
  x = _mm_xor_si128(_mm_clmulepi64_si128(x, fold128, 0x10), _mm_srli_si128(x, 8));
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), _mm_set_epi64x(0, kFold64), 0x00),
                    _mm_srli_si128(x, 4));

  // Barrett reduction of 64 bits to the 32-bit register; reflected, so it lands in the
  // second 32-bit word instead of the first.
  const __m128i barrett = _mm_set_epi64x(kQuotientReflected, kPReflected);
  const __m128i t1 = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
  const __m128i t2 = _mm_clmulepi64_si128(_mm_and_si128(t1, low32), barrett, 0x00);
  const auto crc_register = static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t2), 1));

  return Crc32UpdatePortable(crc_register, data, size);
}

// The folding every kernel does, for a register of one, two or four 128-bit lanes that
// W describes: its Vector type, Load, Fold (each lane carried forward, the next block
// added), Spread (a lane's constants into every lane), WithRegister (the CRC register
// XORed into the first 32 bits), ToLane (all lanes folded into the first) and Short
// (for input shorter than four registers).
template <class W>
std::uint32_t FoldFourRegisters(std::uint32_t crc_register, const unsigned char* data,
                                std::size_t size) {
  using Vector = typename W::Vector;
  constexpr std::size_t kBytes = sizeof(Vector);
  constexpr auto kBits = static_cast<unsigned>(8 * kBytes);
  if (size < 4 * kBytes) {
    return W::Short(crc_register, data, size);
  }
  Vector v0 = W::WithRegister(W::Load(data), crc_register);
  Vector v1 = W::Load(data + kBytes);
  Vector v2 = W::Load(data + 2 * kBytes);
  Vector v3 = W::Load(data + 3 * kBytes);
  data += 4 * kBytes;
  size -= 4 * kBytes;

  // Four independent registers keep the multiplier busy; every round carries each lane
  // four registers ahead.
  const Vector far = W::Spread(FoldBy<4 * kBits>());
  while (size >= 4 * kBytes) {
    v0 = W::Fold(v0, W::Load(data), far);
    v1 = W::Fold(v1, W::Load(data + kBytes), far);
    v2 = W::Fold(v2, W::Load(data + 2 * kBytes), far);
    v3 = W::Fold(v3, W::Load(data + 3 * kBytes), far);
    data += 4 * kBytes;
    size -= 4 * kBytes;
  }

  // Four registers into one, then whole registers left.
  const Vector near = W::Spread(FoldBy<kBits>());
  Vector v = W::Fold(v0, v1, near);
  v = W::Fold(v, v2, near);
  v = W::Fold(v, v3, near);
  while (size >= kBytes) {
    v = W::Fold(v, W::Load(data), near);
    data += kBytes;
    size -= kBytes;
  }
  return FinishFromLane(W::ToLane(v), data, size);
}

}  // namespace
