// The system command families: INI files, the registry, and programs, environment,
// clipboard, sound and shutdown.
#pragma once

namespace dorovev {

class CommandTable;

void register_ini_commands(CommandTable& table);       // EDI, REA
void register_registry_commands(CommandTable& table);  // RRK, RWK, RDK, RDV
void register_program_commands(CommandTable& table);   // RUN, EXE, GEV, SEV, GCB, PUT, WCB, PLA, SDW

}  // namespace dorovev
