// The platform's part of reading a file from start to end: file_io_posix.cpp and
// file_io_win32.cpp. Every function returns 0 or the system's error code.
#pragma once

#include <cstdint>

using FileHandle = std::intptr_t;

// Opens an existing regular file for reading once from start to end.
std::uint32_t OpenForSequentialRead(const char* name, FileHandle* file);

// Reads up to `size` bytes; *delivered is 0 at end of file. A failure never returns 0 or
// kNoSuchFile, so it cannot pass for a good read or for an absent file.
std::uint32_t ReadChunk(FileHandle file, unsigned char* buffer, std::uint32_t size,
                        std::uint32_t* delivered);

// Releases an opened file.
void CloseFile(FileHandle file);
