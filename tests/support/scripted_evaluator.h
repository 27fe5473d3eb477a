// A stand-in expression evaluator (a fake: the real one lives with the expressions) that
// answers fixed texts from a table and records every expression and line it was given.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "values/variable_table.h"

namespace dorovev::testing {

class ScriptedEvaluator : public ExpressionEvaluator {
 public:
  std::map<std::u16string, std::u16string> answers;  // expression -> value as text
  std::vector<std::u16string> asked;
  std::vector<std::int32_t> lines;

  std::optional<Text> evaluate(std::u16string_view expression, std::int32_t line) override {
    asked.emplace_back(expression);
    lines.push_back(line);
    const auto answer = answers.find(std::u16string(expression));
    if (answer == answers.end()) return std::nullopt;
    return Text(answer->second);
  }
};

}  // namespace dorovev::testing
