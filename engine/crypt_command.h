// `CRY>key,text,result`: a text enciphered or deciphered with the script cipher.
#pragma once

#include <string_view>

#include "container/hs_crypt.h"

namespace dorovev {

class CommandTable;
class RunContext;

void register_crypt_command(CommandTable& table);

// The key is the resolved text before the first comma, the text the resolved text before
// the second, taken as bytes in the ANSI code page; the result variable is the rest, as
// written. The result is the ciphered bytes read back in the ANSI code page, so the same
// command with the same key and level turns it back into the text.
void crypt_command(RunContext& run, std::u16string_view parameters);

// The level a value of CRYPT_LEVEL selects: "2" the medium level, "3" the strong one,
// anything else (the literal text of the undefined setting included) the weak one.
TEncryptionLevel crypt_level_of_setting(std::u16string_view setting) noexcept;

}  // namespace dorovev
