#include <windows.h>

#include "run_program.h"

namespace {

constexpr DWORD kTimeoutMilliseconds = 60000;
constexpr DWORD kPipeBuffer = 1 << 16;  // more than a run prints, so the child never blocks

// ctest under Wine hands over Unix paths; Wine reaches those through drive Z:.
std::string WindowsPath(const std::string& path) {
  std::string result = path;
  if (!result.empty() && result[0] == '/') {
    result = "Z:" + result;
  }
  for (char& c : result) {
    c = c == '/' ? '\\' : c;
  }
  return result;
}

std::string Quoted(const std::string& arg) { return '"' + arg + '"'; }

std::string ReadAll(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) != 0 && count > 0) {
    bytes.append(buffer, count);
  }
  return bytes;
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& dir) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out_read = nullptr;
  HANDLE out_write = nullptr;
  HANDLE err_read = nullptr;
  HANDLE err_write = nullptr;
  if (CreatePipe(&out_read, &out_write, &inherit, kPipeBuffer) == 0 ||
      CreatePipe(&err_read, &err_write, &inherit, kPipeBuffer) == 0) {
    return run;
  }
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
  const HANDLE null = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  OPEN_EXISTING, 0, nullptr);

  const std::string path = WindowsPath(program);
  run.invoked_as = path;
  std::string command_line = Quoted(path);
  for (const std::string& arg : args) {
    command_line += ' ' + Quoted(arg);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = null;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process{};
  // DETACHED_PROCESS: no console, as when started by a service or a scheduler.
  const BOOL started =
      CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                     nullptr, dir.string().c_str(), &startup, &process);
  CloseHandle(out_write);
  CloseHandle(err_write);
  CloseHandle(null);
  if (started != 0) {
    run.finished = WaitForSingleObject(process.hProcess, kTimeoutMilliseconds) == WAIT_OBJECT_0;
    if (!run.finished) {
      TerminateProcess(process.hProcess, 255);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.status = run.finished ? static_cast<int>(code) : -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  run.out = ReadAll(out_read);
  run.err = ReadAll(err_read);
  CloseHandle(out_read);
  CloseHandle(err_read);
  return run;
}
