// The commands that only the Windows host can carry out.
#pragma once

namespace dorovev {
class CommandTable;
}

namespace dorovev::host {

// `ICO>file,index`: the form and tray icon become the icon at that 0-based index in an
// icon, executable or library file; no such icon leaves no icon. Nothing is reported.
void register_host_commands(CommandTable& table);

}  // namespace dorovev::host
