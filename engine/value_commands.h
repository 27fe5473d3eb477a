// Registers the commands that give variables their values: LET, ADD, SUB, RAN.
#pragma once

namespace dorovev {

class CommandTable;

void register_value_commands(CommandTable& table);

}  // namespace dorovev
