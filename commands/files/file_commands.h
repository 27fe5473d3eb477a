// The file commands: copy, move, rename and delete through the shell, file lists and
// counts, sizes and time stamps, text files read and written, and the file tests behind
// IfFileExists> and IfFileChanged>.
#pragma once

#include <string_view>

namespace dorovev {

class CommandTable;
class RunContext;

void register_file_commands(CommandTable& table);

// IfFileExists>: anything matches the resolved path (wildcards allowed, directories
// count).
bool any_file_matches(std::u16string_view path);

// IfFileChanged>: given its whole parameter text, which it resolves in `run`.
bool file_changed_test(RunContext& run, std::u16string_view parameters);

}  // namespace dorovev
