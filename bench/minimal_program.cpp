// The yardstick of the start-up benchmark: a Windows program that starts and ends, linked
// like the runtime (statically, GUI subsystem).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
