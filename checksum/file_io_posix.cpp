#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_checksum.h"
#include "file_io.h"

static_assert(ENOENT == kNoSuchFile, "an absent file must read as result code 2");

namespace {

// Names what is wrong with a file that is not regular: a directory, FIFO, socket or
// device would otherwise block, fail oddly or deliver bytes forever.
std::uint32_t NotRegularFileCode(mode_t mode) { return S_ISDIR(mode) ? EISDIR : ENXIO; }

}  // namespace

std::uint32_t OpenForSequentialRead(const char* name, FileHandle* file) {
  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer.
  const int fd = open(name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return static_cast<std::uint32_t>(errno);
  }
  struct stat status {};
  std::uint32_t code = 0;
  if (fstat(fd, &status) != 0) {
    code = static_cast<std::uint32_t>(errno);
  } else if (!S_ISREG(status.st_mode)) {
    code = NotRegularFileCode(status.st_mode);
  }
  // Regular files ignore O_NONBLOCK on Linux, but not everywhere: read them blocking.
  if (code == 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    code = static_cast<std::uint32_t>(errno);
  }
  if (code != 0) {
    close(fd);
    return code;
  }
#ifdef POSIX_FADV_SEQUENTIAL
  (void)posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  *file = fd;
  return 0;
}

std::uint32_t ReadChunk(FileHandle file, unsigned char* buffer, std::uint32_t size,
                        std::uint32_t* delivered) {
  ssize_t count = 0;
  do {
    count = read(static_cast<int>(file), buffer, size);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    *delivered = 0;
    return errno == ENOENT ? EIO : static_cast<std::uint32_t>(errno);
  }
  *delivered = static_cast<std::uint32_t>(count);
  return 0;
}

void CloseFile(FileHandle file) { close(static_cast<int>(file)); }
