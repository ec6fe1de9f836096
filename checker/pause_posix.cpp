#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "pause.h"

namespace {

// The bytes of one key (an escape sequence, a UTF-8 character) arrive together; a
// person's next key press comes far later than this.
constexpr int kKeyGapMilliseconds = 50;
constexpr int kLongestSequence = 32;

// Signals that end the process while it waits; the terminal must not stay raw after them.
constexpr int kEndSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr int kEndSignalCount = sizeof kEndSignals / sizeof kEndSignals[0];

// Static so that a signal handler can put the terminal back as it was.
int g_terminal = -1;
termios g_saved_settings{};
struct sigaction g_previous_actions[kEndSignalCount] {};

void RestoreTerminalAndDie(int signal_number) {
  tcsetattr(g_terminal, TCSANOW, &g_saved_settings);
  signal(signal_number, SIG_DFL);
  raise(signal_number);  // delivered, with its default effect, once this handler returns
}

void CatchEndSignals() {
  struct sigaction action {};
  action.sa_handler = RestoreTerminalAndDie;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : kEndSignals) {
    sigaddset(&action.sa_mask, signal_number);
  }
  for (int i = 0; i < kEndSignalCount; ++i) {
    sigaction(kEndSignals[i], nullptr, &g_previous_actions[i]);
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (g_previous_actions[i].sa_handler != SIG_IGN) {
      sigaction(kEndSignals[i], &action, nullptr);
    }
  }
}

void ReleaseEndSignals() {
  for (int i = 0; i < kEndSignalCount; ++i) {
    sigaction(kEndSignals[i], &g_previous_actions[i], nullptr);
  }
}

// Reads one byte, waiting at most timeout_ms (-1: as long as it takes). False on
// timeout, end of input, hang-up or error.
bool ReadByte(int fd, int timeout_ms, unsigned char* byte) {
  for (;;) {
    pollfd waiting{fd, POLLIN, 0};
    const int ready = poll(&waiting, 1, timeout_ms);
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      return false;
    }
    const ssize_t count = read(fd, byte, 1);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    return count == 1;
  }
}

void ConsumeUtf8Tail(int fd, unsigned char lead) {
  int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  unsigned char byte = 0;
  while (more-- > 0 && ReadByte(fd, kKeyGapMilliseconds, &byte)) {
  }
}

// Consumes what follows an Escape byte when it belongs to the same key: a CSI sequence
// (cursor and editing keys, most function keys), an SS3 sequence (F1-F4, keypad), or
// the key that Alt was held with.
void ConsumeEscapeTail(int fd) {
  unsigned char byte = 0;
  if (!ReadByte(fd, kKeyGapMilliseconds, &byte)) {
    return;  // Escape on its own
  }
  if (byte == 'O') {
    ReadByte(fd, kKeyGapMilliseconds, &byte);
  } else if (byte == '[') {
    // Parameter and intermediate bytes, up to one final byte in 0x40-0x7E; the Linux
    // console sends F1-F5 as Escape [ [ and a letter.
    for (int i = 0; i < kLongestSequence && ReadByte(fd, kKeyGapMilliseconds, &byte); ++i) {
      if (byte >= 0x40 && byte <= 0x7E && !(i == 0 && byte == '[')) {
        break;
      }
    }
  } else {
    ConsumeUtf8Tail(fd, byte);
  }
}

// Consumes exactly one key press, leaving keys typed after it for whoever reads next.
void ConsumeKey(int fd) {
  unsigned char byte = 0;
  if (!ReadByte(fd, -1, &byte)) {
    return;
  }
  if (byte == 0x1B) {
    ConsumeEscapeTail(fd);
  } else {
    ConsumeUtf8Tail(fd, byte);
  }
}

}  // namespace

void WaitForKey() {
  // The controlling terminal itself, so the wait takes the keyboard even when standard
  // input is redirected; without one (cron, CI, a service) there is no one to wait for.
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  if (tcgetattr(fd, &g_saved_settings) == 0) {
    // No echo, no line editing, Ctrl+C and Ctrl+S as plain keys; output stays as it was.
    termios raw = g_saved_settings;
    raw.c_iflag &=
        ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    g_terminal = fd;
    CatchEndSignals();
    // TCSANOW, not TCSAFLUSH: a key typed ahead of the prompt still counts.
    if (tcsetattr(fd, TCSANOW, &raw) == 0) {
      ConsumeKey(fd);
      tcsetattr(fd, TCSANOW, &g_saved_settings);
    }
    ReleaseEndSignals();
    g_terminal = -1;
  }
  close(fd);
}
