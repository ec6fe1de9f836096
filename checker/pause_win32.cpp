#include <windows.h>

#include "pause.h"

namespace {

bool IsModifierOrLock(WORD key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return true;
    default:
      return false;
  }
}

// Keys without a character that the runtime's single-key read returns as a two-code
// extended key: function keys, cursor and editing keys, and Alt or Ctrl combinations.
bool IsExtendedKey(const KEY_EVENT_RECORD& key) {
  const WORD code = key.wVirtualKeyCode;
  if ((code >= VK_F1 && code <= VK_F12) || (code >= VK_PRIOR && code <= VK_DOWN) ||
      code == VK_INSERT || code == VK_DELETE || code == VK_CLEAR) {
    return true;
  }
  const DWORD alt_or_ctrl =
      LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED;
  return (key.dwControlKeyState & alt_or_ctrl) != 0 && !IsModifierOrLock(code);
}

// Only a key going down ends the wait; releases, mouse, focus, menu and window size
// events, and modifier keys pressed alone, do not.
bool EndsWait(const INPUT_RECORD& record) {
  if (record.EventType != KEY_EVENT || record.Event.KeyEvent.bKeyDown == 0) {
    return false;
  }
  return record.Event.KeyEvent.uChar.AsciiChar != 0 || IsExtendedKey(record.Event.KeyEvent);
}

}  // namespace

void WaitForKey() {
  // The console itself, so the wait takes the keyboard even when standard input is
  // redirected; without a console there is no one to wait for.
  const HANDLE console =
      CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD saved_mode = 0;
  if (GetConsoleMode(console, &saved_mode) != 0) {
    // Mode 0: no line input, no echo, and Ctrl+C arrives as a key instead of a signal.
    SetConsoleMode(console, 0);
    INPUT_RECORD record{};
    DWORD count = 0;
    while (ReadConsoleInputA(console, &record, 1, &count) != 0 && count == 1 && !EndsWait(record)) {
    }
    SetConsoleMode(console, saved_mode);
  }
  CloseHandle(console);
}
