// The interpreter as its hosts use it: the commands of the portable core, and a whole
// run of a loaded script.
#pragma once

namespace dorovev {

class CommandTable;
class RunContext;
class ScriptExtensions;
struct RunStart;

// Registers every command that the portable core carries out itself.
void register_core_commands(CommandTable& table);

// Prepares a run whose line list is loaded, runs it to its end and finishes it.
void run_loaded_script(RunContext& run, const CommandTable& commands, ScriptExtensions& extensions,
                       const RunStart& start);

}  // namespace dorovev
