// Force-foreground with thread-input attachment.
#include "commands/windows/foreground.h"

namespace dorovev::windows {
namespace {

void raise_and_activate(HWND window) {
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
}

}  // namespace

void force_foreground(HWND window) {
  if (::IsIconic(window)) {
    ::ShowWindow(window, SW_RESTORE);
    return;
  }
  const HWND foreground = ::GetForegroundWindow();
  const DWORD own = ::GetCurrentThreadId();
  const DWORD other = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
  // The system lets a thread change the foreground window only while it shares the input
  // of the thread that has it.
  const bool attached = other != 0 && other != own && ::AttachThreadInput(own, other, TRUE);
  raise_and_activate(window);
  if (attached) ::AttachThreadInput(own, other, FALSE);
}

}  // namespace dorovev::windows
