#include "crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "crc32_kernels.h"
#include "test_support.h"

namespace {

struct Golden {
  const char* input;
  std::uint32_t crc;
};

// Published CRC-32 values (zlib's crc32, IEEE 802.3).
constexpr Golden kGolden[] = {
    {"", 0x00000000},
    {"a", 0xE8B7BE43},
    {"123456789", 0xCBF43926},
    {"The quick brown fox jumps over the lazy dog", 0x414FA339},
};

TEST(Crc32, GivesPublishedValues) {
  for (const Golden& golden : kGolden) {
    const std::string input = golden.input;
    EXPECT_EQ(Crc32(input.data(), input.size()), golden.crc) << '"' << input << '"';
    EXPECT_EQ(~Crc32UpdatePortable(kCrc32Preset, input.data(), input.size()), golden.crc)
        << '"' << input << '"';
  }
}

TEST(Crc32, TableFollowsFromThePolynomial) {
  EXPECT_EQ(Crc32Table[1], 0x77073096u);
  EXPECT_EQ(Crc32Table[255], 0x2D02EF8Du);
  for (unsigned i = 0; i < 256; ++i) {
    // One byte i through the table, from a zero register, is eight bitwise steps.
    std::uint32_t entry = i;
    for (int bit = 0; bit < 8; ++bit) {
      entry = (entry >> 1) ^ ((entry & 1u) != 0 ? 0xEDB88320u : 0u);
    }
    EXPECT_EQ(Crc32Table[i], entry) << "entry " << i;
  }
}

TEST(Crc32, ChunkingDoesNotChangeTheResult) {
  const std::string data = PseudoRandomBytes(3 * 4097 + 5);
  const std::uint32_t whole = ReferenceCrc32(data);
  ASSERT_EQ(Crc32(data.data(), data.size()), whole);
  for (const std::size_t chunk : {1u, 15u, 16u, 63u, 64u, 65u, 4095u, 4096u, 4097u}) {
    std::uint32_t crc_register = kCrc32Preset;
    for (std::size_t at = 0; at < data.size(); at += chunk) {
      const std::size_t size = std::min(chunk, data.size() - at);
      crc_register = Crc32Update(crc_register, data.data() + at, size);
    }
    EXPECT_EQ(~crc_register, whole) << "chunks of " << chunk;
  }
}

TEST(Crc32, UsesTheFastestKernelAvailable) {
  const Crc32KernelList fast = Crc32FastKernels();
  EXPECT_STREQ(Crc32KernelName(), fast.count == 0 ? "portable" : fast.kernels[0]->name);
}

// Every kernel this processor can run, checked against the table loop.
class FastKernel : public ::testing::Test {
 protected:
  void SetUp() override {
    kernels_ = Crc32FastKernels();
    if (kernels_.count == 0) {
      GTEST_SKIP() << "no fast CRC-32 kernel for this architecture and processor";
    }
    for (int i = 0; i < kernels_.count; ++i) {
      RecordProperty("kernel" + std::to_string(i), kernels_.kernels[i]->name);
    }
  }

  void ExpectMatchesPortable(const unsigned char* data, std::size_t size) const {
    for (int i = 0; i < kernels_.count; ++i) {
      const Crc32Kernel& kernel = *kernels_.kernels[i];
      for (const std::uint32_t start : {kCrc32Preset, 0x12345678u}) {
        ASSERT_EQ(kernel.update(start, data, size), Crc32UpdatePortable(start, data, size))
            << kernel.name << ", " << size << " bytes at alignment "
            << (reinterpret_cast<std::uintptr_t>(data) & 15u) << ", register " << start;
      }
    }
  }

  Crc32KernelList kernels_{};
};

TEST_F(FastKernel, MatchesPortableAtEveryShortLength) {
  const std::string data = PseudoRandomBytes(1100, 7);
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  for (std::size_t size = 0; size <= 1100; ++size) {
    ExpectMatchesPortable(bytes, size);
  }
}

TEST_F(FastKernel, MatchesPortableAtEveryAlignment) {
  constexpr std::size_t kMaxSize = 1u << 20;
  const std::string data = PseudoRandomBytes(kMaxSize + 32, 11);
  // Start from a 16-byte boundary so that each offset is the alignment it claims to be.
  const auto base = reinterpret_cast<std::uintptr_t>(data.data());
  const auto* aligned =
      reinterpret_cast<const unsigned char*>(data.data()) + ((16 - base % 16) % 16);
  std::mt19937 generator(3);
  std::uniform_int_distribution<std::size_t> size_of(0, kMaxSize);
  for (std::size_t alignment = 0; alignment < 16; ++alignment) {
    for (const std::size_t size : {std::size_t{4096}, std::size_t{4097}, kMaxSize - alignment,
                                   size_of(generator), size_of(generator), size_of(generator)}) {
      ExpectMatchesPortable(aligned + alignment, size);
    }
  }
}

TEST_F(FastKernel, MatchesPortableOnRegularPatterns) {
  // Runs of one value stress the folding differently from random data.
  for (const char fill : {'\0', '\xFF', '\x01', '\x80'}) {
    const std::string data(8192 + 77, fill);
    ExpectMatchesPortable(reinterpret_cast<const unsigned char*>(data.data()), data.size());
  }
}

}  // namespace
