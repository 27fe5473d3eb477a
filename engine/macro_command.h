// `Macro>file[/parameters]`: runs another script file to its end as a nested run.
#pragma once

namespace dorovev {

class CommandTable;

void register_macro_command(CommandTable& table);

// Nested runs deeper than this are refused with a runtime-error report, so a script that
// calls itself without end cannot exhaust the stack.
inline constexpr int kMaxMacroNesting = 64;

}  // namespace dorovev
