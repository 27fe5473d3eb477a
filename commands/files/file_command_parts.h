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

// The decimal text of a number.
std::u16string decimal(std::int64_t number);

}  // namespace files
}  // namespace dorovev
