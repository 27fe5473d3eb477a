#include "commands/windows/window_commands.h"

#include "engine/dispatch.h"
#include "engine/run_context.h"

namespace dorovev {

void register_window_commands(CommandTable&) {}

bool any_window_matches(RunContext&, std::u16string_view) { return false; }

}  // namespace dorovev
