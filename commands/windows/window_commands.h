// The window commands: finding windows by their titles, waiting for them, bringing them
// forward, moving, sizing and closing them, and reading their texts.
#pragma once

#include <string_view>

namespace dorovev {

class CommandTable;
class RunContext;

void register_window_commands(CommandTable& table);

// IfWindowOpen>: a window matches the resolved title under the run's matching settings.
bool any_window_matches(RunContext& run, std::u16string_view title);

}  // namespace dorovev
