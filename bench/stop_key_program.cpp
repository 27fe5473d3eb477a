// The second yardstick of the start-up benchmark: the least a macro must do before its
// first line, a Windows program that takes Shift+Esc as a system-wide key and ends.
// Under Wine the key alone loads the user interface and its display driver.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ::RegisterHotKey(nullptr, 1, MOD_SHIFT, VK_ESCAPE);
  ::UnregisterHotKey(nullptr, 1);
  return 0;
}
