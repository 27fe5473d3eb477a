// The preparation of a run: the fixed slots, the system variables, the macro
// parameters and the log switch, before the first line runs.
#pragma once

#include <string>

namespace dorovev {

class CommandTable;
class RunContext;
class ScriptExtensions;

struct RunStart {
  std::u16string macro_parameters;    // "x=5 /name=Joe"; empty or "0" for none
  std::u16string inherited_log_file;  // a nested run logs where its caller logs
  std::u16string script_name;         // the script file of a file run
  bool from_container = false;        // the compiled macro's own script
};

// Prepares `run`, whose line list is already loaded: lets the extensions prepare their
// parts, sets the run indicator, clears the stop request, creates the variables every
// script finds set, in their fixed order, and switches logging on when a LOGFILE variable
// exists. Assignments go through `Let>` in `commands`, so they follow its rules and keep
// CWD current like any command.
void prepare_run(RunContext& run, const CommandTable& commands, ScriptExtensions& extensions,
                 const RunStart& start);

}  // namespace dorovev
