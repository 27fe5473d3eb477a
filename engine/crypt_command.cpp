// The CRY command: the script cipher applied to a variable's text.
#include "engine/crypt_command.h"

#include <string>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/comma_split.h"

namespace dorovev {

using namespace codes;

TEncryptionLevel crypt_level_of_setting(std::u16string_view setting) noexcept {
  if (setting == u"2") return TEncryptionLevel::elMedium64bit;
  if (setting == u"3") return TEncryptionLevel::elStrong96bit;
  return TEncryptionLevel::elWeak32bit;
}

void crypt_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit key = split_at_first_comma(parameters);
  const CommaSplit text = split_at_first_comma(key.rest);
  THSCrypt crypt;
  crypt.Key = run.resolve(key.first).str();
  std::string bytes = run.platform.text_to_ansi(run.resolve(text.first).view());
  crypt.EncryptionLevel = crypt_level_of_setting(run.resolve(u"%CRYPT_LEVEL%").view());
  crypt.cipher_bytes(bytes);
  AssignVariable(run.variables, text.rest, run.platform.ansi_to_text(bytes));
}

void register_crypt_command(CommandTable& table) { table.add(u"CRY"_code, crypt_command); }

}  // namespace dorovev
