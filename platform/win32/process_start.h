// Starting another program, as the host and the RUN command both do.
#pragma once

#include <string_view>

#include "platform/win32/unique_handle.h"

namespace dorovev::win32 {

// Starts `command_line` (the system finds the program) as a new process in a new console,
// at normal priority, inheriting no handles, with `show` (an SW_ value) as its show state.
// Gives the process handle; none when it could not be started.
UniqueHandle start_process(std::u16string_view command_line, int show);

}  // namespace dorovev::win32
