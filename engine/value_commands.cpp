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

namespace {

// The value commands work on a variable table with the run's services; in the command
// table they take the run itself.
template <void (*Command)(tVarArray&, std::u16string_view, CommandServices&)>
void on_run(RunContext& run, std::u16string_view parameters) {
  Command(run.variables, parameters, run);
}

}  // namespace

void register_value_commands(CommandTable& table) {
  table.add(u"LET"_code, on_run<let_command>);
  table.add(u"ADD"_code, on_run<add_command>);
  table.add(u"SUB"_code, on_run<subtract_command>);
  table.add(u"RAN"_code, on_run<random_command>);
  table.add(u"CON"_code, on_run<concatenate_command>);
  table.add(u"MID"_code, on_run<substring_command>);
  table.add(u"POS"_code, on_run<position_command>);
  table.add(u"LEN"_code, on_run<length_command>);
  table.add(u"RPL"_code, on_run<replace_command>);
  table.add(u"STR"_code, on_run<replace_command>);
  table.add(u"SEP"_code, on_run<separate_command>);
  table.add(u"BAS"_code, base64_command);
}

}  // namespace dorovev
