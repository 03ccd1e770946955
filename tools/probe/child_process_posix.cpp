#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "child_process.h"

namespace probe {

extern std::FILE *child_channel;

namespace {

using Clock = std::chrono::steady_clock;

int milliseconds_left(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

[[noreturn]] void be_the_child(int channel,
                               const std::vector<std::string> &arguments) {
  child_channel = fdopen(channel, "w");
  // What plug-ins print stays out of the parent's standard output.
  dup2(STDERR_FILENO, STDOUT_FILENO);
  int status = child_main(arguments);
  std::fflush(nullptr);
  _exit(status);
}

} // namespace

ChildResult run_child(const std::vector<std::string> &arguments,
                      unsigned timeout_seconds) {
  ChildResult child;
  int ends[2];
  if (pipe(ends) != 0)
    return child;
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    close(ends[0]);
    close(ends[1]);
    return child;
  }
  if (pid == 0) {
    close(ends[0]);
    be_the_child(ends[1], arguments);
  }
  close(ends[1]);
  child.started = true;

  const auto deadline = Clock::now() + std::chrono::seconds(timeout_seconds);
  bool open = true;
  while (open) {
    pollfd channel{ends[0], POLLIN, 0};
    int ready = poll(&channel, 1, milliseconds_left(deadline));
    if (ready == 0) {
      child.timed_out = true;
      break;
    }
    if (ready < 0)
      continue;
    char buffer[4096];
    ssize_t n = read(ends[0], buffer, sizeof buffer);
    if (n > 0)
      child.channel.append(buffer, n);
    else
      open = false;
  }
  close(ends[0]);

  int status = 0;
  while (!child.timed_out && waitpid(pid, &status, WNOHANG) == 0) {
    if (milliseconds_left(deadline) == 0)
      child.timed_out = true;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (child.timed_out) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    child.how =
        "no answer within " + std::to_string(timeout_seconds) + " s; stopped";
  } else if (WIFSIGNALED(status)) {
    child.how = "signal " + std::to_string(WTERMSIG(status)) + " (" +
                strsignal(WTERMSIG(status)) + ")";
  } else {
    child.exited = true;
    child.how = "exit status " + std::to_string(WEXITSTATUS(status));
  }
  return child;
}

int run_as_child(const char *channel,
                 const std::vector<std::string> &arguments) {
  be_the_child(std::atoi(channel), arguments);
}

} // namespace probe
