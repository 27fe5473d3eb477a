#include "commands/input/input_commands.h"

#include "engine/dispatch.h"

namespace dorovev {

void register_mouse_commands(CommandTable&) {}

}  // namespace dorovev
