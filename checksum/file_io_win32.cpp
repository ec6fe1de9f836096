#include <windows.h>

#include "file_checksum.h"
#include "file_io.h"

static_assert(ERROR_FILE_NOT_FOUND == kNoSuchFile, "an absent file must read as result code 2");

namespace {

// FILE_FLAG_SEQUENTIAL_SCAN with the read-only, hidden, system and archive attribute
// bits; the attributes matter only when a file is created, which OPEN_EXISTING never does.
constexpr DWORD kOpenFlags = 0x08000027;

HANDLE ToHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

std::uint32_t OpenForSequentialRead(const char* name, FileHandle* file) {
  // Other readers may share the file; a writer may not, so a file still being written
  // (a download in progress) is refused with a sharing violation.
  const HANDLE handle =
      CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, kOpenFlags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return GetLastError();
  }
  *file = reinterpret_cast<FileHandle>(handle);
  return 0;
}

std::uint32_t ReadChunk(FileHandle file, unsigned char* buffer, std::uint32_t size,
                        std::uint32_t* delivered) {
  DWORD count = 0;
  if (ReadFile(ToHandle(file), buffer, size, &count, nullptr) == 0) {
    *delivered = 0;
    const DWORD code = GetLastError();
    return code == ERROR_SUCCESS || code == ERROR_FILE_NOT_FOUND ? ERROR_READ_FAULT : code;
  }
  *delivered = count;
  return 0;
}

void CloseFile(FileHandle file) { CloseHandle(ToHandle(file)); }
