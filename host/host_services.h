// Services of the host that commands and compile mode use: starting another program and
// naming temporary files.
#pragma once

#include <string>
#include <string_view>

namespace dorovev::host {

// Starts `command_line` as a new process in a new console, at normal priority, with
// `show` (an SW_ value) as its show state. With `wait`, waits until it ends while this
// thread's paint messages are handled, looking every millisecond. Gives its exit code,
// or -1 when it could not be started (or, not waited for, has not ended: then the
// still-active code 259).
int run_program(std::u16string_view command_line, int show, bool wait);

struct TemporaryNames {
  std::u16string directory;  // the system's temporary folder, with its trailing backslash
  std::u16string file;       // empty unless a file was wanted
};

// The temporary folder and, when `want_file`, a new unique file in it named "plrt...".
// When the system has no temporary folder or cannot make the file, the file is named in
// the program's own folder after the current date and time: "yyyymmddhhnnssplrt1a.tmp".
TemporaryNames temporary_names(bool want_file);

// The folder of the running program, without a trailing backslash.
std::u16string program_directory();

}  // namespace dorovev::host
