// Program entry of the runtime.
#include <windows.h>

#include "host/start_up.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return dorovev::host::start_program(); }
