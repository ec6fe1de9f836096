#pragma once

// Waits for one key press on the console or terminal itself, not on standard input, with
// no echo and no Enter needed; Ctrl+C counts as a key. Returns at once when there is no
// console or terminal to read. pause_posix.cpp and pause_win32.cpp.
void WaitForKey();
