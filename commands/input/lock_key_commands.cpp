#include "commands/input/input_commands.h"

#include "engine/dispatch.h"

namespace dorovev {

void register_lock_key_commands(CommandTable&) {}

}  // namespace dorovev
