// The value commands live with the values; here they meet the command table.
#include "engine/value_commands.h"

#include <string>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/arithmetic_commands.h"
#include "values/ascii.h"
#include "values/assignment.h"
#include "values/base64.h"
#include "values/comma_split.h"
#include "values/random_number.h"
#include "values/string_commands.h"

namespace dorovev {

using namespace codes;

void base64_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit source = split_at_first_comma(parameters);
  const CommaSplit action = split_at_first_comma(source.rest);
  const std::string bytes = run.platform.text_to_ansi(run.resolve(source.first).view());
  const bool encode = equals_ignoring_ascii_case(run.resolve(action.first).view(), u"ENCODE");
  std::u16string result;
  if (encode) {
    result = widen_ascii(Base64Encode(bytes));
  } else {
    try {
      result = run.platform.ansi_to_text(Base64Decode(bytes));
    } catch (const Base64FormatError&) {
      result = u"DECODE ERROR: SOURCE NOT BASE64";
    }
  }
  AssignVariable(run.variables, action.rest, result);
}

void register_value_commands(CommandTable& table) {
  table.add(u"LET"_code, [](RunContext& run, std::u16string_view parameters) {
    let_command(run.variables, parameters, run);
  });
  table.add(u"ADD"_code, [](RunContext& run, std::u16string_view parameters) {
    add_command(run.variables, parameters, run);
  });
  table.add(u"SUB"_code, [](RunContext& run, std::u16string_view parameters) {
    subtract_command(run.variables, parameters, run);
  });
  table.add(u"RAN"_code, [](RunContext& run, std::u16string_view parameters) {
    random_command(run.variables, parameters, run);
  });
  table.add(u"CON"_code, [](RunContext& run, std::u16string_view parameters) {
    concatenate_command(run.variables, parameters, run);
  });
  table.add(u"MID"_code, [](RunContext& run, std::u16string_view parameters) {
    substring_command(run.variables, parameters, run);
  });
  table.add(u"POS"_code, [](RunContext& run, std::u16string_view parameters) {
    position_command(run.variables, parameters, run);
  });
  table.add(u"LEN"_code, [](RunContext& run, std::u16string_view parameters) {
    length_command(run.variables, parameters, run);
  });
  const CommandHandler replace = [](RunContext& run, std::u16string_view parameters) {
    replace_command(run.variables, parameters, run);
  };
  table.add(u"RPL"_code, replace);
  table.add(u"STR"_code, replace);
  table.add(u"SEP"_code, [](RunContext& run, std::u16string_view parameters) {
    separate_command(run.variables, parameters, run);
  });
  table.add(u"BAS"_code, base64_command);
}

}  // namespace dorovev
