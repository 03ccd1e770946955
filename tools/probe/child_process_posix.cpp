#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "child_process.h"
#include "probe.h"

namespace probe {

ChildResult run_check_child_process(const std::string &file) {
  ChildResult child;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0)
    return child;
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) {
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    return child;
  }
  if (pid == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    prepare_check_child();
    int status = run_check_child(file);
    std::fflush(stdout);
    _exit(status);
  }
  close(pipe_ends[1]);
  child.started = true;
  char buffer[4096];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
    child.output.append(buffer, n);
  close(pipe_ends[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) {
    child.how = "signal " + std::to_string(WTERMSIG(status)) + " (" +
                strsignal(WTERMSIG(status)) + ")";
  } else {
    child.how = "exit status " + std::to_string(WEXITSTATUS(status));
  }
  return child;
}

void prepare_check_child() {}

} // namespace probe
