#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "file_checksum.h"
#include "test_support.h"

namespace {

std::uint32_t ChecksumOf(const std::filesystem::path& path) {
  std::uint32_t computed = 0;
  return ComputeFileChecksum(path.string().c_str(), &computed);
}

TEST(FileChecksumWin32, DirectoryIsAccessDenied) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path / "vorinst.exe");
  EXPECT_EQ(ChecksumOf(dir.path / "vorinst.exe"), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
}

TEST(FileChecksumWin32, FileOpenForWritingIsASharingViolation) {
  ScratchDir dir;
  const std::filesystem::path file = dir.path / "vorinst.exe";
  WriteFile(file, "still downloading");
  const HANDLE writer =
      CreateFileA(file.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ChecksumOf(file), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  CloseHandle(writer);
  EXPECT_EQ(ChecksumOf(file), 0u);
}

}  // namespace
