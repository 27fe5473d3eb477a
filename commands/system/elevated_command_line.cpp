// Cutting an elevated command line into program and parameters.
#include "commands/system/elevated_command_line.h"

namespace dorovev {

ProgramAndParameters split_elevated_command_line(std::u16string_view command_line,
                                                 const std::function<bool(std::u16string_view)>& is_existing_file) {
  if (command_line.starts_with(u'"')) {
    const std::size_t closing = command_line.find(u'"', 1);
    if (closing == std::u16string_view::npos) return {command_line, {}};
    return {command_line.substr(0, closing + 1), command_line.substr(closing + 1)};
  }
  if (is_existing_file(command_line)) return {command_line, {}};
  const std::size_t space = command_line.find(u' ');
  if (space == std::u16string_view::npos) return {command_line, {}};
  return {command_line.substr(0, space), command_line.substr(space + 1)};
}

}  // namespace dorovev
