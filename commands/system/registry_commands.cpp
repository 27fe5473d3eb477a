#include "commands/system/system_commands.h"

#include "engine/dispatch.h"

namespace dorovev {

void register_registry_commands(CommandTable&) {}

}  // namespace dorovev
