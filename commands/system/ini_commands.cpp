#include "commands/system/system_commands.h"

#include "engine/dispatch.h"

namespace dorovev {

void register_ini_commands(CommandTable&) {}

}  // namespace dorovev
