// The value commands live with the values; here they meet the command table.
#include "engine/value_commands.h"

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/arithmetic_commands.h"
#include "values/assignment.h"
#include "values/random_number.h"

namespace dorovev {

using namespace codes;

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
}

}  // namespace dorovev
