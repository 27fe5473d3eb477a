// The main loop: runs the lines of a prepared run, with every control-flow line, then
// the run's finishing steps.
#pragma once

namespace dorovev {

class CommandTable;
class RunContext;
class ScriptExtensions;

// Runs from the run's line pointer until the lines end, `Exit>` or a stop request, then
// finishes the run: its resources are released and its macro result is set.
void run_main_loop(RunContext& run, const CommandTable& commands, ScriptExtensions& extensions);

}  // namespace dorovev
