#include "commands/system/system_commands.h"

#include "engine/dispatch.h"

namespace dorovev {

void register_program_commands(CommandTable&) {}

}  // namespace dorovev
