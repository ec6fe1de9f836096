#include "file_checksum.h"

#include "crc32.h"
#include "file_io.h"

namespace {

// Bounds memory only; the CRC is the same for any chunking.
constexpr std::uint32_t kChunkSize = 4096;

}  // namespace

std::uint32_t ComputeFileChecksum(const char* name, std::uint32_t* computed) {
  std::uint32_t crc_register = kCrc32Preset;
  FileHandle file = 0;
  std::uint32_t result = OpenForSequentialRead(name, &file);
  if (result == 0) {
    unsigned char buffer[kChunkSize];
    std::uint32_t delivered = 0;
    while ((result = ReadChunk(file, buffer, kChunkSize, &delivered)) == 0 && delivered > 0) {
      crc_register = Crc32Update(crc_register, buffer, delivered);
    }
    CloseFile(file);
  }
  *computed = ~crc_register;
  return result;
}
