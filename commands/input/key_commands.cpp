#include "commands/input/input_commands.h"

#include "engine/dispatch.h"

namespace dorovev {

void register_key_commands(CommandTable&) {}

void release_modifier_keys() {}

}  // namespace dorovev
