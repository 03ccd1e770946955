#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "child_process.h"

namespace probe {

extern std::FILE *child_channel;

namespace {

// Quotes one argument so that the C run-time's command-line parser gives it
// back unchanged: backslashes count only before a quote.
std::string quoted(const std::string &argument) {
  std::string text = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    text += c;
  }
  text.append(2 * backslashes, '\\');
  return text + "\"";
}

LONG WINAPI end_on_crash(EXCEPTION_POINTERS *) {
  return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

ChildResult run_child(const std::vector<std::string> &arguments,
                      unsigned timeout_seconds) {
  ChildResult child;
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return child;

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read_end, write_end;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0))
    return child;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  // What plug-ins print stays out of the parent's standard output.
  startup.hStdOutput = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string command =
      quoted(self) + " --child " +
      std::to_string(reinterpret_cast<std::uintptr_t>(write_end));
  for (const std::string &argument : arguments)
    command += " " + quoted(argument);
  PROCESS_INFORMATION process;
  BOOL started = CreateProcessA(self, command.data(), nullptr, nullptr, TRUE, 0,
                                nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);
  if (!started) {
    CloseHandle(read_end);
    return child;
  }
  child.started = true;
  std::thread reader([&] {
    char buffer[4096];
    DWORD n;
    while (ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n > 0)
      child.channel.append(buffer, n);
  });
  if (WaitForSingleObject(process.hProcess, timeout_seconds * 1000) ==
      WAIT_TIMEOUT) {
    child.timed_out = true;
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  reader.join();
  CloseHandle(read_end);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // Exit codes with both top bits set are exception codes (system ones and
  // RaiseException's): the process ended by an exception it did not handle.
  if (child.timed_out) {
    child.how =
        "no answer within " + std::to_string(timeout_seconds) + " s; stopped";
  } else if ((code & 0xC0000000) == 0xC0000000) {
    char text[32];
    std::snprintf(text, sizeof text, "unhandled exception 0x%08lx",
                  static_cast<unsigned long>(code));
    child.how = text;
  } else {
    child.exited = true;
    child.how = "exit status " + std::to_string(code);
  }
  return child;
}

int run_as_child(const char *channel,
                 const std::vector<std::string> &arguments) {
  // A crash ends the child at once, with no error dialog or debugger.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(end_on_crash);
  auto handle = reinterpret_cast<HANDLE>(
      static_cast<std::uintptr_t>(std::strtoull(channel, nullptr, 10)));
  int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                   _O_WRONLY | _O_BINARY);
  child_channel = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
  _setmode(_fileno(stdout), _O_BINARY);
  int status = child_main(arguments);
  std::fflush(nullptr);
  return status;
}

} // namespace probe
