// `Let>`: plain assignment, two-operand arithmetic, the expression form, and the two
// names that reach into the process (RND_SEED, APP_TITLE).
#pragma once

#include <string_view>

#include "values/command_services.h"
#include "values/variable_table.h"

namespace dorovev {

// `Let>name=value` with its raw parameter text.
void let_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

}  // namespace dorovev
