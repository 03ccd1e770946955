// Running `tavrel-probe --check-child FILE` as a child process.
#ifndef TAVREL_PROBE_CHILD_PROCESS_H
#define TAVREL_PROBE_CHILD_PROCESS_H

#include <string>

namespace probe {

struct ChildResult {
  bool started = false;
  std::string how;    // "exit status 0", "signal 11 (Segmentation fault)"
  std::string output; // everything it wrote to standard output
};

ChildResult run_check_child_process(const std::string &file);

// Readies the child so that a crash ends it at once, with no error dialog or
// debugger in between.
void prepare_check_child();

} // namespace probe

#endif
