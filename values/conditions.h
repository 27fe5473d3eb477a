// The condition of `If>`: a truth value and the two labels the main loop acts on.
#pragma once

#include <string>
#include <string_view>

#include "values/command_services.h"
#include "values/variable_table.h"

namespace dorovev {

// The labels view the parameter text the condition was read from.
struct Condition {
  bool truth = false;
  std::u16string_view true_label;  // as written: neither expanded nor trimmed
  std::u16string_view false_label;
};

// Evaluates `condition[,truelabel[,falselabel]]`. With `evaluate` off only the labels
// matter: a whole-expression condition is not evaluated and a missing operator is not
// reported, but the operands of a comparison are still expanded, since expanding can
// show messages of its own. A condition that cannot be evaluated requests a stop.
Condition evaluate_condition(tVarArray& table, std::u16string_view parameters, bool evaluate,
                             CommandServices& services);

}  // namespace dorovev
