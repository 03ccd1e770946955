// The child's end of the channel, the same on every platform once the
// platform file has opened it.
#include <cstdio>

#include "child_process.h"

namespace probe {

std::FILE *child_channel = nullptr;

void tell_parent(const char *name, const std::string &value) {
  if (!child_channel)
    return;
  std::string line = value;
  for (char &c : line)
    if (c == '\n' || c == '\r')
      c = ' ';
  std::fprintf(child_channel, "%s\t%s\n", name, line.c_str());
  std::fflush(child_channel);
}

void send_document(const std::string &document, int exit_status) {
  tell_parent("document", std::to_string(document.size()));
  if (child_channel) {
    std::fwrite(document.data(), 1, document.size(), child_channel);
    std::fflush(child_channel);
  }
  tell_parent("exit", std::to_string(exit_status));
}

} // namespace probe
