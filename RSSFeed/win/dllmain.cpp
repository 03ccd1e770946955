#include <windows.h>

// The registry is created by the C++ runtime's start-up code, and released by
// it at unload; there is nothing to do here.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
