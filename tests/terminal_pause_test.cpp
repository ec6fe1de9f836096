// The closing pause on a real (pseudo-)terminal: it waits for exactly one key press,
// takes it from the terminal even when standard input is redirected, and leaves the
// terminal as it found it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "program_under_test.h"
#include "test_support.h"

namespace {

constexpr char kPrompt[] = "Press any key to finish . . .";
constexpr int kPatienceMilliseconds = 10000;

// The program running with a pseudo-terminal as its controlling terminal. The test keeps
// the terminal's own end open too, so what the program leaves unread can be seen.
struct TerminalRun {
  pid_t pid = -1;
  int master = -1;
  int terminal = -1;
  std::string output;
  termios settings_before{};  // the terminal's settings before the program started

  ~TerminalRun() {
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    close(master);
    close(terminal);
  }
};

void Start(TerminalRun& run, const std::vector<std::string>& args, const ScratchDir& dir,
           bool stdin_from_null) {
  ASSERT_EQ(openpty(&run.master, &run.terminal, nullptr, nullptr, nullptr), 0);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(ProgramUnderTest().c_str()));
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  run.pid = fork();
  ASSERT_GE(run.pid, 0);
  if (run.pid == 0) {
    setsid();
    ioctl(run.terminal, TIOCSCTTY, 0);
    const int input = stdin_from_null ? open("/dev/null", O_RDONLY) : run.terminal;
    dup2(input, 0);
    dup2(run.terminal, 1);
    dup2(run.terminal, 2);
    close(run.master);
    if (chdir(dir.path.c_str()) != 0) {
      _exit(126);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
}

// Collects output until it contains `text`; false if it does not come in time.
bool ReadUntil(TerminalRun& run, const std::string& text) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMilliseconds);
  while (run.output.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    pollfd readable{run.master, POLLIN, 0};
    if (poll(&readable, 1, 100) == 1) {
      char buffer[256];
      const ssize_t count = read(run.master, buffer, sizeof buffer);
      if (count > 0) {
        run.output.append(buffer, static_cast<std::size_t>(count));
      }
    }
  }
  return true;
}

bool StillRunningAfter(const TerminalRun& run, int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return waitpid(run.pid, nullptr, WNOHANG) == 0;
}

// Waits for the program to end; its wait status, or -1 if it does not end in time.
int WaitForExit(TerminalRun& run) {
  for (int waited = 0; waited < kPatienceMilliseconds; waited += 10) {
    int status = 0;
    if (waitpid(run.pid, &status, WNOHANG) == run.pid) {
      run.pid = -1;
      return status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

void Type(const TerminalRun& run, const std::string& keys) {
  ASSERT_EQ(write(run.master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
}

// Whatever input the program left on the terminal for the next reader.
std::string LeftUnread(const TerminalRun& run) {
  termios settings{};
  tcgetattr(run.terminal, &settings);
  settings.c_lflag &= ~static_cast<tcflag_t>(ICANON);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  tcsetattr(run.terminal, TCSANOW, &settings);
  std::string unread;
  char buffer[64];
  ssize_t count = 0;
  while ((count = read(run.terminal, buffer, sizeof buffer)) > 0) {
    unread.append(buffer, static_cast<std::size_t>(count));
  }
  return unread;
}

bool SettingsUnchanged(const TerminalRun& run) {
  termios now{};
  const termios& before = run.settings_before;
  return tcgetattr(run.terminal, &now) == 0 && now.c_iflag == before.c_iflag &&
         now.c_oflag == before.c_oflag && now.c_cflag == before.c_cflag &&
         now.c_lflag == before.c_lflag && std::memcmp(now.c_cc, before.c_cc, sizeof now.c_cc) == 0;
}

// Starts the program and checks that it shows the prompt and then waits.
void StartWaiting(TerminalRun& run, const std::vector<std::string>& args, const ScratchDir& dir,
                  bool stdin_from_null = false) {
  ASSERT_NO_FATAL_FAILURE(Start(run, args, dir, stdin_from_null));
  ASSERT_EQ(tcgetattr(run.terminal, &run.settings_before), 0);
  ASSERT_TRUE(ReadUntil(run, kPrompt)) << run.output;
  ASSERT_TRUE(StillRunningAfter(run, 300)) << "the pause must wait for a key";
}

struct KeyCase {
  const char* title;
  std::string keys;    // what the terminal sends, in one go
  std::string unread;  // what must still be there for the next reader
};

void PrintTo(const KeyCase& key, std::ostream* out) { *out << key.title; }

class PauseKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(PauseKey, OneKeyEndsTheWaitAndNothingElseIsTaken) {
  const KeyCase& key = GetParam();
  ScratchDir dir;
  TerminalRun run;
  ASSERT_NO_FATAL_FAILURE(StartWaiting(run, {}, dir));
  Type(run, key.keys);
  const int status = WaitForExit(run);

  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ReadUntil(run, std::string(kPrompt) + "\r\n");
  // The line break comes after the key, and the key is not echoed.
  EXPECT_EQ(run.output.substr(run.output.find(kPrompt)), std::string(kPrompt) + "\r\n");
  EXPECT_TRUE(SettingsUnchanged(run));
  EXPECT_EQ(LeftUnread(run), key.unread);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PauseKey,
    ::testing::Values(KeyCase{"Letter", "x", ""}, KeyCase{"Enter", "\r", ""},
                      KeyCase{"CtrlC", "\x03", ""}, KeyCase{"CtrlZ", "\x1a", ""},
                      KeyCase{"ArrowUp", "\x1b[A", ""}, KeyCase{"F1", "\x1bOP", ""},
                      KeyCase{"F5", "\x1b[15~", ""}, KeyCase{"LinuxConsoleF1", "\x1b[[A", ""},
                      KeyCase{"CtrlRightArrow", "\x1b[1;5C", ""}, KeyCase{"AltX", "\x1bx", ""},
                      KeyCase{"Utf8Letter", "\xc3\xa9", ""},
                      KeyCase{"LaterKeysStay", "\x1b[Bxy", "xy"},
                      KeyCase{"LaterLetterStays", "ab", "b"}),
    [](const ::testing::TestParamInfo<KeyCase>& param_info) { return param_info.param.title; });

TEST(Pause, UsageScreenWaitsAndStillExitsWithOne) {
  ScratchDir dir;
  TerminalRun run;
  ASSERT_NO_FATAL_FAILURE(StartWaiting(run, {"NoPause", "Brief"}, dir));
  Type(run, "\x03");
  const int status = WaitForExit(run);
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(Pause, WaitsOnTheTerminalWhenStandardInputIsRedirected) {
  ScratchDir dir;
  TerminalRun run;
  ASSERT_NO_FATAL_FAILURE(StartWaiting(run, {}, dir, true));
  Type(run, "q");
  const int status = WaitForExit(run);
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(Pause, NoPauseAndBriefDoNotWait) {
  for (const char* mode : {"NoPause", "Brief"}) {
    ScratchDir dir;
    TerminalRun run;
    ASSERT_NO_FATAL_FAILURE(Start(run, {mode}, dir, false));
    const int status = WaitForExit(run);
    ASSERT_TRUE(WIFEXITED(status)) << mode << " waited";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(run.output.find(kPrompt), std::string::npos) << mode;
  }
}

// Asked to end while waiting, the program still puts the terminal back first.
TEST(Pause, RestoresTheTerminalWhenEndedBySignal) {
  for (const int signal_number : {SIGTERM, SIGHUP}) {
    ScratchDir dir;
    TerminalRun run;
    ASSERT_NO_FATAL_FAILURE(StartWaiting(run, {}, dir));
    kill(run.pid, signal_number);
    const int status = WaitForExit(run);
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_TRUE(SettingsUnchanged(run)) << "terminal left raw after signal " << signal_number;
  }
}

}  // namespace
