#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "run_program.h"

namespace {

constexpr int kTimeoutMilliseconds = 30000;

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& dir) {
  ProgramRun run;
  run.invoked_as = program;
  int out_pipe[2];
  int err_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) {
    return run;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    // A new session has no controlling terminal, as under cron or CI.
    setsid();
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    if (chdir(dir.c_str()) != 0) {
      _exit(126);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);

  pollfd streams[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open_streams = 2;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMilliseconds);
  bool timed_out = false;
  while (open_streams > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timed_out = true;
      break;
    }
    const int ready = poll(streams, 2, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd >= 0 && streams[i].revents != 0) {
        char buffer[4096];
        const ssize_t count = read(streams[i].fd, buffer, sizeof buffer);
        if (count > 0) {
          sinks[i]->append(buffer, static_cast<std::size_t>(count));
        } else {
          close(streams[i].fd);
          streams[i].fd = -1;
          --open_streams;
        }
      }
    }
  }
  if (timed_out) {
    kill(child, SIGKILL);
  }
  for (const pollfd& stream : streams) {
    if (stream.fd >= 0) {
      close(stream.fd);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  run.finished = !timed_out;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
