// The input command families: keystrokes, the mouse, and the lock keys with the key waits.
#pragma once

namespace dorovev {

class CommandTable;

void register_key_commands(CommandTable& table);       // Send>, Press>, Release>, AsciiKeys> and the rest
void register_mouse_commands(CommandTable& table);     // MOU, MMR, MVR, the button commands, GCP, GTP
void register_lock_key_commands(CommandTable& table);  // the lock keys, WaitKeyDown>, BlockInput>

// The run's finishing steps let go of Shift, Ctrl and Alt, so that no key stays down.
void release_modifier_keys();

}  // namespace dorovev
