// `-RUN <script file>`: runs a script file as the top-level run of this process.
#pragma once

#include <string>

namespace dorovev {

struct ProcessState;
namespace win32 {
class Win32Platform;
}

// Runs the file (script name = the file; not from a container; no macro parameters) and
// gives the exit code the script set. A file that cannot be read is reported and ends
// the run at once with 0.
int run_script_file(win32::Win32Platform& platform, ProcessState& process, const std::u16string& path);

}  // namespace dorovev
