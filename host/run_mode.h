// `-RUN <script file>`: runs a script file as the top-level run of this process.
#pragma once

#include <string>

#include "engine/line_list.h"

namespace dorovev {

struct ProcessState;
struct RunStart;
namespace win32 {
class Win32Platform;
}

// Runs the file (script name = the file; not from a container; no macro parameters) and
// gives the exit code the script set. A file that cannot be read is reported and ends
// the run at once with 0.
int run_script_file(win32::Win32Platform& platform, ProcessState& process, const std::u16string& path);

// Runs loaded lines as the top-level run, with the core and the host commands; gives the
// exit code the script set.
int run_top_level(win32::Win32Platform& platform, ProcessState& process, LineList lines, const RunStart& start);

}  // namespace dorovev
