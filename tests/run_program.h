// Runs a built program as a user would, for the end-to-end tests: run_program_posix.cpp
// and run_program_win32.cpp.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ProgramRun {
  bool finished = false;   // false when it had to be killed for taking too long
  int status = -1;         // exit status; -1 when it did not exit normally
  std::string out;         // standard output, byte for byte
  std::string err;         // standard error, byte for byte
  std::string invoked_as;  // the program name the program was started under (its argv[0])
};

// Runs `program` with `args` in `dir`, with empty standard input and no terminal or
// console to read a key from.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& dir);
