// VormistaChecksum: tells whether the VORMISTA installation programs in the current
// directory are intact, by comparing each one's CRC-32 with the one it was released with.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "file_checksum.h"
#include "install_files.h"
#include "pause.h"

namespace {

constexpr char kBanner[] =
    "Running VormistaChecksum for installation programs for VORMISTA version %s.\n\n";
constexpr char kUsageLine[] = "Usage: %s\n\n";
constexpr char kHelpText[] =
    "This program tells you whether the checksums of any of the VORMISTA\n"
    "installation files that are present in the current directory are\n"
    "correct. If the checksums are correct, then probably the files were\n"
    "downloaded correctly and are undamaged.\n\n";
constexpr char kCorrect[] =
    "The file %s is present and has the correct checksum, so it\n"
    "  was almost certainly downloaded correctly and undamaged.\n\n";
constexpr char kDamaged[] =
    "The file %s is present but does NOT have the correct\n"
    "  checksum, so it was probably damaged during the download process,\n"
    "  or by something on your machine (such as a virus).\n"
    "  Expected Checksum: %d, Actual Checksum: %d\n\n";
constexpr char kBriefLine[] = "%s %d\n";
constexpr char kError[] = "Error calculating checksum on file %s: %d\n\n";
constexpr char kNoneFound[] =
    "None of the VORMISTA installation files were found in the\n"
    "current directory.\n\n";
constexpr char kPausePrompt[] = "Press any key to finish . . .";

enum class RunMode { Full, NoPause, Brief };

// Checksums and result codes are shown as the 32-bit pattern read as a signed number.
int AsSigned(std::uint32_t value) { return static_cast<std::int32_t>(value); }

// Compares folding only the ASCII letters A-Z, whatever the locale says.
bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (fold(*a) != fold(*b)) {
      return false;
    }
  }
  return *a == *b;
}

void PauseForKey() {
  std::fputs(kPausePrompt, stdout);
  std::fflush(stdout);
  WaitForKey();
  std::fputs("\n", stdout);
}

[[noreturn]] void ShowUsage(const char* program_name) {
  std::printf(kUsageLine, program_name);
  std::fputs(kHelpText, stdout);
  PauseForKey();
  std::exit(1);
}

// Picks the run mode from the command line, or ends the process with the usage screen.
RunMode ChooseRunMode(int argc, char** argv) {
  if (argc <= 1) {
    return RunMode::Full;
  }
  if (argc == 2) {
    if (EqualsIgnoringAsciiCase(argv[1], "Brief")) {
      return RunMode::Brief;
    }
    if (EqualsIgnoringAsciiCase(argv[1], "NoPause")) {
      return RunMode::NoPause;
    }
  }
  ShowUsage(argv[0]);
}

void Report(const InstallFile& file, bool brief) {
  if (brief) {
    std::printf(kBriefLine, file.name, AsSigned(file.computed));
  } else if (file.computed == file.expected) {
    std::printf(kCorrect, file.name);
  } else {
    std::printf(kDamaged, file.name, AsSigned(file.expected), AsSigned(file.computed));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const RunMode mode = ChooseRunMode(argc, argv);
  const bool brief = mode == RunMode::Brief;

  if (!brief) {
    std::printf(kBanner, ProductVersion);
  }
  int found = 0;
  for (InstallFile& file : InstallFiles) {
    const std::uint32_t result = ComputeFileChecksum(file.name, &file.computed);
    if (result == kNoSuchFile) {
      continue;
    }
    ++found;
    if (result == 0) {
      Report(file, brief);
    } else {
      std::printf(kError, file.name, AsSigned(result));
    }
  }
  if (found == 0 && !brief) {
    std::fputs(kNoneFound, stdout);
  }
  if (mode == RunMode::Full) {
    PauseForKey();
  }
  return 0;
}
