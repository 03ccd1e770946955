#include <windows.h>

// The registry is a namespace-scope object, which the C++ run-time's start-up
// code builds before this runs and destroys at unload; there is nothing to do
// here.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
