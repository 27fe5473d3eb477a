// Bringing a window to the front, as SetFocus> and the commands that act on a window do.
#pragma once

#include <windows.h>

namespace dorovev::windows {

// A minimised window is restored and nothing more. Any other window is raised to the top
// of the Z order, shown and made the foreground window; when the current foreground window
// belongs to another thread, this thread's input is joined to that thread's for the change
// and always separated again before returning. Nothing is reported.
void force_foreground(HWND window);

}  // namespace dorovev::windows
