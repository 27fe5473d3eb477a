// The variable table: name search, assignment and the fixed slots.
#include "values/variable_table.h"

#include "values/ascii.h"

namespace dorovev {

tVarArray::tVarArray(VariableHost* host, ExpressionEvaluator* evaluator)
    : host_(host), evaluator_(evaluator) {
  if (host_) {
    const std::vector<std::u16string> arguments = host_->command_line_arguments();
    arguments_ = parse_command_line_variables(arguments);
  }
}

void tVarArray::create_fixed_slots() {
  static constexpr std::u16string_view kNames[] = {u"_LINE_NUM", u"VAREXPLICIT", u"IGNORESPACES"};
  const Text zero(u"0");
  for (std::u16string_view name : kNames) AssignVariable(*this, name, zero);
}

void tVarArray::set_line_number(std::int32_t line) {
  if (entries_.empty()) return;
  const std::string digits = std::to_string(line);
  entries_[0].Value = Text(std::u16string(digits.begin(), digits.end()));
  entries_[0].LineNumber = line;
}

bool tVarArray::implicit_lookup() const noexcept {
  return entries_.size() > kVarExplicitSlot && entries_[kVarExplicitSlot].Value == std::u16string_view(u"0");
}

bool tVarArray::trimming() const noexcept {
  return entries_.size() > kIgnoreSpacesSlot && entries_[kIgnoreSpacesSlot].Value == std::u16string_view(u"1");
}

std::optional<Text> tVarArray::value_of(std::u16string_view name) const {
  const FoundVariable found = FindVariable(*this, name);
  if (!found.found) return std::nullopt;
  return entries_[static_cast<std::size_t>(index_.items[static_cast<std::size_t>(found.position)].data.index)].Value;
}

FoundVariable FindVariable(const tVarArray& table, std::u16string_view name) noexcept {
  const auto& items = table.name_index().items;
  std::int32_t lo = 0;
  std::int32_t hi = static_cast<std::int32_t>(items.size()) - 1;
  bool found = false;
  while (lo <= hi) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    const int order = compare_ignoring_ascii_case(items[static_cast<std::size_t>(mid)].name.view(), name);
    if (order < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (order == 0) {
        found = true;
        lo = mid;
      }
    }
  }
  return {found, lo};
}

void AssignVariable(tVarArray& table, std::u16string_view name, Text value) {
  if (table.trimming()) name = trim(name);
  const std::uint32_t now = table.host_ ? table.host_->tick_count() : 0;
  const FoundVariable found = FindVariable(table, name);
  if (found.found) {
    const std::int32_t index = table.index_.items[static_cast<std::size_t>(found.position)].data.index;
    TVariableTable& entry = table.entries_[static_cast<std::size_t>(index)];
    entry.Value = std::move(value);
    entry.LastSet = now;
    return;
  }
  const Text key(to_upper_ascii(name));
  const std::int32_t index = table.count();
  table.entries_.push_back(TVariableTable{key, std::move(value), 0, now});
  table.index_.items.insert(table.index_.items.begin() + found.position, tMySL::Item{key, TVarData{index}});
}

void AssignVariable(tVarArray& table, std::u16string_view name, std::u16string_view value) {
  AssignVariable(table, name, Text(value));
}

std::vector<CommandLineVariable> parse_command_line_variables(std::span<const std::u16string> arguments) {
  std::vector<CommandLineVariable> variables;
  for (const std::u16string& argument : arguments) {
    if (argument.empty() || argument[0] != u'/') continue;
    const std::size_t equals = argument.find(u'=');
    if (equals == std::u16string::npos) continue;
    variables.push_back({argument.substr(1, equals - 1), Text(std::u16string_view(argument).substr(equals + 1))});
  }
  return variables;
}

}  // namespace dorovev
