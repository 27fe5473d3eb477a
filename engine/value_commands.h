// Registers the commands that give variables their values: LET, ADD, SUB, RAN, the
// string commands CON, MID, POS, LEN, RPL, STR and SEP, and the Base64 command BAS.
#pragma once

#include <string_view>

namespace dorovev {

class CommandTable;
class RunContext;

void register_value_commands(CommandTable& table);

// `BAS>source,action,result`: the source in the ANSI code page, Base64-encoded when the
// action is ENCODE (any case) and decoded otherwise; a source that is no Base64 text
// gives "DECODE ERROR: SOURCE NOT BASE64".
void base64_command(RunContext& run, std::u16string_view parameters);

}  // namespace dorovev
