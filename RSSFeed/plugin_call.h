// Calls into plug-in code. Each marks the thread with what the library is
// doing there, so that the library can tell a call that a plug-in makes back
// into it from the host's own, and refuse the ones it cannot carry out.
#ifndef TAVREL_PLUGIN_CALL_H
#define TAVREL_PLUGIN_CALL_H

#include <algorithm>

#include "platform.h"

namespace tavrel {

enum Activity : unsigned {
  kInHost = 0,    // no plug-in code runs on this thread below us
  kServing = 1,   // a routed call or a broadcast
  kReshaping = 2, // a scan or a teardown: the registry is changing
};

// What this thread is inside of: the deepest activity of any plug-in call in
// progress on it.
inline Activity current_activity() {
  return static_cast<Activity>(platform::ThreadMark::current());
}

// Runs call() (which enters plug-in code) with the thread marked.
template <typename Call>
decltype(auto) call_plugin(Activity activity, Call &&call) {
  platform::ThreadMark mark(std::max<unsigned>(activity, current_activity()));
  return call();
}

} // namespace tavrel

#endif
