#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "child_process.h"
#include "document.h"

namespace probe {

ChildResult run_check_child_process(const std::string &file) {
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
  startup.hStdOutput = write_end;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string command =
      std::string("\"") + self + "\" --check-child \"" + file + "\"";
  PROCESS_INFORMATION process;
  BOOL started = CreateProcessA(self, command.data(), nullptr, nullptr, TRUE, 0,
                                nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);
  if (!started) {
    CloseHandle(read_end);
    return child;
  }
  child.started = true;
  char buffer[4096];
  DWORD n;
  while (ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n > 0)
    child.output.append(buffer, n);
  CloseHandle(read_end);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // Exit codes with both top bits set are exception codes (system ones and
  // RaiseException's): the process ended by an exception it did not handle.
  child.how = (code & 0xC0000000) == 0xC0000000
                  ? "unhandled exception " + hex(code)
                  : "exit status " + std::to_string(code);
  return child;
}

namespace {
LONG WINAPI end_on_crash(EXCEPTION_POINTERS *) {
  return EXCEPTION_EXECUTE_HANDLER;
}
} // namespace

void prepare_check_child() {
  // The report's lines end in "\n" alone.
  _setmode(_fileno(stdout), _O_BINARY);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(end_on_crash);
}

} // namespace probe
