// MouseOver>'s second half: the pointer to the centre of a control of a window already found.
#pragma once

#include <windows.h>

#include <string_view>

namespace dorovev {

// Walks the descendants of `window` in the system's order and moves the pointer to the
// centre of the first one whose title, trimmed of blanks and control characters at both
// ends, equals `control_text` exactly (letter case included). False, moving nothing,
// when none does.
//
// MouseOver> itself is registered once the window commands give a window by its title
// under WF_TYPE; this is the part it adds to them.
bool move_over_control(HWND window, std::u16string_view control_text);

}  // namespace dorovev
