// The interpreter's entry points for hosts.
#include "engine/interpreter.h"

#include "engine/clock_commands.h"
#include "engine/crypt_command.h"
#include "engine/dispatcher_commands.h"
#include "engine/macro_command.h"
#include "engine/main_loop.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/value_commands.h"

namespace dorovev {

void register_core_commands(CommandTable& table) {
  register_dispatcher_commands(table);
  register_value_commands(table);
  register_macro_command(table);
  register_clock_commands(table);
  register_crypt_command(table);
}

void run_loaded_script(RunContext& run, const CommandTable& commands, ScriptExtensions& extensions,
                       const RunStart& start) {
  run.commands = &commands;
  run.extensions = &extensions;
  prepare_run(run, commands, extensions, start);
  run_main_loop(run, commands, extensions);
}

}  // namespace dorovev
