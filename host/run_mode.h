// The `-RUN <script> [/name=value ...]` start mode: runs a script file as a top-level run.
#pragma once

#include <string>
#include <vector>

namespace dorovev {

// Runs the script file and returns the process exit code the script set. Failing to read
// the file shows "Error Attempting to Read : <file>" and returns 0 without running.
int run_script_file(const std::u16string& path);

}  // namespace dorovev
