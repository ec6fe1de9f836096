#pragma once

#include <cstdint>

// One installation program of the release and the CRC-32 an undamaged copy has.
struct InstallFile {
  const char* name;        // bare file name, looked up in the current directory
  std::uint32_t expected;  // CRC-32 of the file as released
  std::uint32_t computed;  // CRC-32 of the file on disk, filled in during the run
};

inline constexpr int kInstallFileCount = 7;

// Lists the release's installation programs in the order they are checked and reported.
extern InstallFile InstallFiles[kInstallFileCount];

// Names the release the table belongs to.
extern const char ProductVersion[];
