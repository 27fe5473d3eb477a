// The program's start: everything between entry and exit.
#pragma once

namespace dorovev::host {

// Runs the program as its command line and its own file say; gives the exit code.
int start_program();

}  // namespace dorovev::host
