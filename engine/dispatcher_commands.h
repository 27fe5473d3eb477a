// The commands that the dispatcher carries out itself: WAI, WRD, CHA, CRE, ASS, RGB, and EXP,
// which the main loop calls.
#pragma once

#include <string_view>

namespace dorovev {

class CommandTable;
class RunContext;

void register_dispatcher_commands(CommandTable& table);

// `EXP>block,file`: writes the decoded bytes of an embedded data block to a file,
// replacing it. Nothing is written for a block that is missing or has no data.
void export_data_block(RunContext& run, std::u16string_view parameters);

}  // namespace dorovev
