// `Add>` and `Sub>`: change a variable by an amount, as a number or as a short date.
#pragma once

#include <string_view>

#include "values/command_services.h"
#include "values/variable_table.h"

namespace dorovev {

// `Add>name,amount` and `Sub>name,amount` with their raw parameter text. The name may be
// written bare or as `%name%`. An amount that is no number counts as 0.
void add_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);
void subtract_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

}  // namespace dorovev
