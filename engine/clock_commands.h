// Registers the date and time commands: GDT, GTM, YEA, MON, DAY, DOW, HOU, MIN, SEC,
// and the stamp commands TIM and DAT.
#pragma once

namespace dorovev {

class CommandTable;

void register_clock_commands(CommandTable& table);

}  // namespace dorovev
