// `-COMPILE <script> <output> [-QUIET] [-DEL] [-OPTS:...[-ICON:...]]`: writes a compiled
// macro, a copy of this program with the enciphered script and its options appended.
#pragma once

#include <string>
#include <string_view>

namespace dorovev::win32 {
class Win32Platform;
}

namespace dorovev::host {

// `script` and `output` are the second and third arguments, `command_line` the whole
// command line in which the switches are looked for. Messages go through the platform's
// message dialog.
void compile_macro(win32::Win32Platform& platform, std::u16string_view script, std::u16string_view output,
                   std::u16string_view command_line);

}  // namespace dorovev::host
