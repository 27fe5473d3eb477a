// The parts of the file command family, each registering its own commands, and the
// helpers they share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorovev {

class CommandTable;
class RunContext;

namespace files {

void register_shell_commands(CommandTable& table);  // COP MOV REN DEL
void register_list_commands(CommandTable& table);   // GFL COU
void register_info_commands(CommandTable& table);   // FSZ FDT FTM
void register_text_commands(CommandTable& table);   // RLN RFL WLN APP

// Whether a setting variable is exactly "1".
bool setting_is_on(RunContext& run, std::u16string_view name);

// The decimal text of a number.
std::u16string decimal(std::int64_t number);

// The runtime-error report of a file fault the command names no result for: the message,
// one space and the path ("Cannot read file C:\x.txt").
void report_file_fault(RunContext& run, std::u16string_view message, std::u16string_view path);

}  // namespace files
}  // namespace dorovev
