#include "commands/files/file_commands.h"

#include "engine/dispatch.h"
#include "engine/run_context.h"

namespace dorovev {

void register_file_commands(CommandTable&) {}

bool any_file_matches(std::u16string_view) { return false; }

bool file_changed_test(RunContext&, std::u16string_view) { return false; }

}  // namespace dorovev
