// MouseOver>'s second half: the pointer to the centre of a control of a window already found.
#pragma once

#include <windows.h>

#include <string_view>

namespace dorovev {

class RunContext;

// `MouseOver>window title,control text`: both resolved; the window is looked up by its
// title under WF_TYPE (handle mode does not apply), then the pointer goes to the centre of
// its control. A window or control that cannot be found leaves the pointer where it is.
void mouse_over_command(RunContext& run, std::u16string_view parameters);

// Walks the descendants of `window` in the system's order and moves the pointer to the
// centre of the first one whose title, trimmed of blanks and control characters at both
// ends, equals `control_text` exactly (letter case included). False, moving nothing,
// when none does.
bool move_over_control(HWND window, std::u16string_view control_text);

}  // namespace dorovev
