#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "file_checksum.h"
#include "test_support.h"

namespace {

std::uint32_t ChecksumOf(const std::filesystem::path& path) {
  std::uint32_t computed = 0;
  return ComputeFileChecksum(path.c_str(), &computed);
}

// Names that are not regular files must fail at once, never block or read forever.
TEST(FileChecksumPosix, RefusesWhatIsNotARegularFile) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path / "directory");
  ASSERT_EQ(mkfifo((dir.path / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.path / "zero");
  std::filesystem::create_symlink("/dev/null", dir.path / "null");

  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socket_path = (dir.path / "socket").string();
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  socket_path.copy(address.sun_path, socket_path.size());
  ASSERT_EQ(bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

  EXPECT_EQ(ChecksumOf(dir.path / "directory"), static_cast<std::uint32_t>(EISDIR));
  for (const char* name : {"fifo", "zero", "null", "socket"}) {
    EXPECT_EQ(ChecksumOf(dir.path / name), static_cast<std::uint32_t>(ENXIO)) << name;
  }
  close(sock);
}

// A read that fails is an error, not an early end of file: /proc/self/mem fails its
// first read at offset 0 with EIO.
TEST(FileChecksumPosix, ReportsAFailedRead) {
  ScratchDir dir;
  std::filesystem::create_symlink("/proc/self/mem", dir.path / "vordbupdt.exe");
  const std::uint32_t result = ChecksumOf(dir.path / "vordbupdt.exe");
  EXPECT_EQ(result, static_cast<std::uint32_t>(EIO));
}

TEST(FileChecksumPosix, ReportsAFileTheUserMayNotRead) {
  ScratchDir dir;
  const std::filesystem::path file = dir.path / "vorinst.exe";
  WriteFile(file, "secret");
  ASSERT_EQ(chmod(file.c_str(), 0), 0);
  if (geteuid() != 0) {
    EXPECT_EQ(ChecksumOf(file), static_cast<std::uint32_t>(EACCES));
    return;
  }
  // Permissions stop nothing for root: check as the unprivileged user nobody, in a child.
  ASSERT_EQ(chmod(dir.path.c_str(), 0755), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) {
      _exit(255);
    }
    _exit(static_cast<int>(ChecksumOf(file) & 0xFFu));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 255) {
    GTEST_SKIP() << "running as root and cannot switch to an unprivileged user";
  }
  EXPECT_EQ(WEXITSTATUS(status), EACCES);
}

}  // namespace
