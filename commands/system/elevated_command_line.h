// How a command line started with elevation is cut into the program and its parameters.
#pragma once

#include <functional>
#include <string_view>

namespace dorovev {

struct ProgramAndParameters {
  std::u16string_view program;
  std::u16string_view parameters;
};

// The shell takes a program and its parameters apart, so the command line is cut here:
// a line that begins with a double quote has the program up to and including the next
// double quote (the whole line when there is none) and the parameters after it; a line
// that names an existing file is the program alone; otherwise the program ends at the
// first space and the parameters follow it. Both parts are views into `command_line`.
ProgramAndParameters split_elevated_command_line(std::u16string_view command_line,
                                                 const std::function<bool(std::u16string_view)>& is_existing_file);

}  // namespace dorovev
