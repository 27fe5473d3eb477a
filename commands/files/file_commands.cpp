// The file command family: registration and the helpers its parts share.
#include "commands/files/file_commands.h"

#include <string>

#include "commands/files/file_command_parts.h"
#include "commands/files/find_files.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"

namespace dorovev {

void register_file_commands(CommandTable& table) {
  files::register_shell_commands(table);
  files::register_list_commands(table);
  files::register_info_commands(table);
  files::register_text_commands(table);
}

bool any_file_matches(std::u16string_view path) { return files::matches_anything(path); }

namespace files {

std::u16string decimal(std::int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace files
}  // namespace dorovev
