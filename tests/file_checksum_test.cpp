#include "file_checksum.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "test_support.h"

namespace {

// Runs the file checksum on `name` inside `dir`, as the program does from its folder.
std::uint32_t ChecksumIn(const ScratchDir& dir, const char* name, std::uint32_t* computed) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path);
  const std::uint32_t result = ComputeFileChecksum(name, computed);
  std::filesystem::current_path(previous);
  return result;
}

TEST(FileChecksum, ReadsWholeFilesOfAnyChunking) {
  for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 3u * 4096u + 1u}) {
    ScratchDir dir;
    const std::string content = PseudoRandomBytes(size, static_cast<std::uint32_t>(size));
    WriteFile(dir.path / "file.bin", content);
    std::uint32_t computed = 0xDEADBEEF;
    EXPECT_EQ(ChecksumIn(dir, "file.bin", &computed), 0u) << size << " bytes";
    EXPECT_EQ(computed, ReferenceCrc32(content)) << size << " bytes";
  }
}

TEST(FileChecksum, EmptyFileHasCrcZero) {
  ScratchDir dir;
  WriteFile(dir.path / "empty", "");
  std::uint32_t computed = 0xDEADBEEF;
  EXPECT_EQ(ChecksumIn(dir, "empty", &computed), 0u);
  EXPECT_EQ(computed, 0u);
}

TEST(FileChecksum, MissingFileGivesTwo) {
  ScratchDir dir;
  std::uint32_t computed = 0;
  EXPECT_EQ(ChecksumIn(dir, "vorinst.exe", &computed), kNoSuchFile);
}

// Past 4 GiB nothing may wrap: a sparse file of 2^32 + 4097 bytes, zero but for three
// letters, one of them in the last byte.
TEST(FileChecksum, ReadsFilesPastFourGigabytes) {
  constexpr std::int64_t kSize = (std::int64_t{1} << 32) + 4097;
  ScratchDir dir;
  {
    std::ofstream out(dir.path / "big.bin", std::ios::binary);
    out.put('A');
    out.seekp(std::int64_t{1} << 31);
    out.put('B');
    out.seekp(kSize - 1);
    out.put('C');
    ASSERT_TRUE(out.good());
  }
  ASSERT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(dir.path / "big.bin")), kSize);
  std::uint32_t computed = 0;
  EXPECT_EQ(ChecksumIn(dir, "big.bin", &computed), 0u);
  EXPECT_EQ(computed, 0x307024E0u);
}

}  // namespace
