// The built program, run in a fresh folder as a user would; its whole output and exit
// status are compared byte for byte. The same table runs against every build, the
// Windows executable (under Wine) included, where each line ends in CR LF.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "program_under_test.h"
#include "run_program.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string g_program;

#ifdef _WIN32
constexpr int kDirectoryCode = 5;  // ERROR_ACCESS_DENIED: a directory cannot be opened
constexpr bool kNamesIgnoreCase = true;
#else
constexpr int kDirectoryCode = 21;  // EISDIR
constexpr bool kNamesIgnoreCase = false;
#endif

// Expected checksums of the release, and the CRC-32 of "123456789", which no row expects.
constexpr std::uint32_t kVorinst = 0xC5C9AFCB;
constexpr std::uint32_t kVorupdt = 0x9543E57E;
constexpr std::uint32_t kNetServer = 0x6C2243BB;
constexpr std::uint32_t kNetClient = 0x1381E70A;
const std::string kDamagedContent = "123456789";
constexpr int kDamagedCrc = -873187034;  // 0xCBF43926

const std::string kBanner =
    "Running VormistaChecksum for installation programs for VORMISTA version 3.62.\n\n";
const std::string kNoneFound =
    "None of the VORMISTA installation files were found in the\ncurrent directory.\n\n";
const std::string kPause = "Press any key to finish . . .\n";
const std::string kUsage =
    "Usage: {program}\n\n"
    "This program tells you whether the checksums of any of the VORMISTA\n"
    "installation files that are present in the current directory are\n"
    "correct. If the checksums are correct, then probably the files were\n"
    "downloaded correctly and are undamaged.\n\n" +
    kPause;

std::string Correct(const std::string& name) {
  return "The file " + name +
         " is present and has the correct checksum, so it\n"
         "  was almost certainly downloaded correctly and undamaged.\n\n";
}

std::string Damaged(const std::string& name, int expected, int actual) {
  return "The file " + name +
         " is present but does NOT have the correct\n"
         "  checksum, so it was probably damaged during the download process,\n"
         "  or by something on your machine (such as a virus).\n"
         "  Expected Checksum: " +
         std::to_string(expected) + ", Actual Checksum: " + std::to_string(actual) + "\n\n";
}

std::string Error(const std::string& name, int code) {
  return "Error calculating checksum on file " + name + ": " + std::to_string(code) + "\n\n";
}

struct Entry {
  std::string name;
  std::string content;
  bool directory = false;
};

Entry Intact(const std::string& name, std::uint32_t crc) {
  return {name, WithCrc32("installer " + name, crc)};
}
Entry Holding(const std::string& name, const std::string& content) { return {name, content}; }
Entry Directory(const std::string& name) { return {name, "", true}; }

struct Case {
  std::string title;
  std::vector<std::string> args;
  std::vector<Entry> entries;  // created in this order, which is not the table's
  std::string out;             // {program} stands for the name the program was run under
  int status;
};

std::vector<Case> Cases() {
  std::vector<Case> cases = {
      {"FullNoFiles", {}, {}, kBanner + kNoneFound + kPause, 0},
      {"FullOneIntactFile",
       {},
       {Intact("vorinst.exe", kVorinst)},
       kBanner + Correct("vorinst.exe") + kPause,
       0},
      {"FullEmptyDbUpdateIsCorrect",
       {},
       {Holding("vordbupdt.exe", "")},
       kBanner + Correct("vordbupdt.exe") + kPause,
       0},
      {"NoPauseNoFiles", {"NoPause"}, {}, kBanner + kNoneFound, 0},
      {"NoPauseNonEmptyDbUpdateIsDamaged",
       {"NoPause"},
       {Holding("vordbupdt.exe", "a")},
       kBanner + Damaged("vordbupdt.exe", 0, -390611389),
       0},
      {"NoPauseSeveralFilesInTableOrder",
       {"NoPause"},
       {Intact("vorinstNetClient.exe", kNetClient), Holding("vordbupdt.exe", ""),
        Holding("vorinst.exe", kDamagedContent), Intact("vorupdt.exe", kVorupdt),
        Holding("unrelated.exe", kDamagedContent)},
       kBanner + Damaged("vorinst.exe", -976638005, kDamagedCrc) + Correct("vorupdt.exe") +
           Correct("vordbupdt.exe") + Correct("vorinstNetClient.exe"),
       0},
      {"NoPauseErrorRowCountsAsFound",
       {"NoPause"},
       {Directory("vorinstLite.exe")},
       kBanner + Error("vorinstLite.exe", kDirectoryCode),
       0},
      {"NoPauseErrorBetweenReports",
       {"NoPause"},
       {Intact("vorinstNetServer.exe", kNetServer), Directory("vorupdtLite.exe"),
        Holding("vorinst.exe", kDamagedContent)},
       kBanner + Damaged("vorinst.exe", -976638005, kDamagedCrc) +
           Error("vorupdtLite.exe", kDirectoryCode) + Correct("vorinstNetServer.exe"),
       0},
      {"BriefNoFiles", {"Brief"}, {}, "", 0},
      {"BriefTwoIntactFiles",
       {"Brief"},
       {Intact("vorinstNetClient.exe", kNetClient), Intact("vorinst.exe", kVorinst)},
       "vorinst.exe -976638005\nvorinstNetClient.exe 327280394\n",
       0},
      {"BriefDamagedEmptyAndError",
       {"Brief"},
       {Holding("vorupdt.exe", kDamagedContent), Holding("vordbupdt.exe", ""),
        Directory("vorinst.exe")},
       Error("vorinst.exe", kDirectoryCode) + "vorupdt.exe -873187034\nvordbupdt.exe 0\n",
       0},
      {"NamesDifferingInCase",
       {"NoPause"},
       {Intact("VORINST.EXE", kVorinst)},
       kBanner + (kNamesIgnoreCase ? Correct("vorinst.exe") : kNoneFound),
       0},
  };
  // Keywords are matched ignoring the case of ASCII letters.
  for (const char* spelling : {"nopause", "NOPAUSE", "nOpAuSe"}) {
    cases.push_back({std::string("NoPauseSpelled_") + spelling,
                     {spelling},
                     {Holding("vorupdt.exe", kDamagedContent)},
                     kBanner + Damaged("vorupdt.exe", -1790712450, kDamagedCrc),
                     0});
  }
  for (const char* spelling : {"brief", "BRIEF", "bRIeF"}) {
    cases.push_back({std::string("BriefSpelled_") + spelling,
                     {spelling},
                     {Intact("vorinst.exe", kVorinst)},
                     "vorinst.exe -976638005\n",
                     0});
  }
  // Anything else shows the usage screen and checks nothing, whatever lies there.
  const std::vector<std::vector<std::string>> usage_args = {
      {"NoPause", "Brief"}, {"Brief", "Brief"}, {"Full"}, {"-Brief"},  {"/NoPause"},
      {"Brief "},           {" Brief"},         {""},     {"Briefly"}, {"NoPaus"}};
  for (std::size_t i = 0; i < usage_args.size(); ++i) {
    cases.push_back({"Usage_" + std::to_string(i),
                     usage_args[i],
                     {Intact("vorinst.exe", kVorinst)},
                     kUsage,
                     1});
  }
  return cases;
}

std::string Expected(std::string text, const ProgramRun& run) {
  const std::string placeholder = "{program}";
  const std::size_t at = text.find(placeholder);
  if (at != std::string::npos) {
    text.replace(at, placeholder.size(), run.invoked_as);
  }
#ifdef _WIN32
  // Standard output is in text mode.
  std::string crlf;
  for (const char c : text) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  text = crlf;
#endif
  return text;
}

std::set<std::string> Listing(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

void PrintTo(const Case& c, std::ostream* out) { *out << c.title; }

class EndToEnd : public ::testing::TestWithParam<Case> {};

TEST_P(EndToEnd, PrintsExactlyThisAndExits) {
  const Case& c = GetParam();
  ScratchDir dir;
  for (const Entry& entry : c.entries) {
    if (entry.directory) {
      std::filesystem::create_directory(dir.path / entry.name);
    } else {
      WriteFile(dir.path / entry.name, entry.content);
    }
  }
  const std::set<std::string> before = Listing(dir.path);

  const ProgramRun run = RunProgram(g_program, c.args, dir.path);

  ASSERT_TRUE(run.finished) << "still running: the pause must not wait without a terminal";
  EXPECT_EQ(run.out, Expected(c.out, run));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(Listing(dir.path), before) << "the program must not create or remove files";
}

INSTANTIATE_TEST_SUITE_P(Table, EndToEnd, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& param_info) {
                           return param_info.param.title;
                         });

#ifdef _WIN32
// A download still being written: another process holds the file open for writing.
TEST(EndToEndWin32, FileOpenForWritingIsReportedAndCounts) {
  ScratchDir dir;
  const std::filesystem::path file = dir.path / "vorinst.exe";
  WriteFile(file, WithCrc32("partial", kVorinst));
  const HANDLE writer =
      CreateFileA(file.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const ProgramRun run = RunProgram(g_program, {"NoPause"}, dir.path);
  CloseHandle(writer);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.out, Expected(kBanner + Error("vorinst.exe", 32), run));
  EXPECT_EQ(run.status, 0);
}
#endif

}  // namespace

const std::string& ProgramUnderTest() { return g_program; }

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fputs("usage: end_to_end_test [gtest options] PROGRAM\n", stderr);
    return 2;
  }
  // Absolute, since each run starts in a scratch folder of its own.
  g_program = std::filesystem::absolute(argv[1]).string();
  return RUN_ALL_TESTS();
}
