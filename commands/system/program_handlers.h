// The handlers of the program, environment, clipboard, sound and shutdown commands, each
// in the file of its kind; program_commands.cpp puts them into the command table.
#pragma once

#include <string_view>

namespace dorovev {

class RunContext;

void run_program_command(RunContext& run, std::u16string_view parameters);  // RUN
void get_clipboard_command(RunContext& run, std::u16string_view parameters);  // GCB
void put_clipboard_command(RunContext& run, std::u16string_view parameters);  // PUT
void wait_clipboard_command(RunContext& run, std::u16string_view parameters);  // WCB
void shutdown_command(RunContext& run, std::u16string_view parameters);  // SDW

}  // namespace dorovev
