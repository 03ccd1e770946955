// The probe does the library's work in a child process, so that a plug-in
// that crashes or hangs ends the child, not the probe. The child tells its
// parent how far it got, line by line as "name<TAB>value", on a channel of
// its own; what plug-ins print goes to standard error.
#ifndef TAVREL_PROBE_CHILD_PROCESS_H
#define TAVREL_PROBE_CHILD_PROCESS_H

#include <string>
#include <vector>

namespace probe {

struct ChildResult {
  bool started = false;
  bool exited = false;    // ended by itself, with an exit status
  bool timed_out = false; // stopped by the parent after the time limit
  std::string how;        // "exit status 0", "signal 11 (Segmentation fault)"
  std::string channel;    // everything it told its parent
};

// Runs child_main(arguments) in a child process and stops it after
// timeout_seconds.
ChildResult run_child(const std::vector<std::string> &arguments,
                      unsigned timeout_seconds);

// The child's side, defined by the program: runs with the parent's channel
// set up, and returns the child's exit status.
int child_main(const std::vector<std::string> &arguments);

// Child side: one line to the parent, sent at once. A newline in value is
// sent as a space.
void tell_parent(const char *name, const std::string &value);

// Child side: the finished document the parent prints, and the exit status it
// asks for.
void send_document(const std::string &document, int exit_status);

// Windows: the entry of a child started as `tavrel-probe --child CHANNEL
// ARGS...`; returns the exit status. Elsewhere children are forked.
int run_as_child(const char *channel,
                 const std::vector<std::string> &arguments);

} // namespace probe

#endif
