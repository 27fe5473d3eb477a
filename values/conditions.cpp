// `If>` conditions: the whole-expression form and the two-operand comparison.
//
// The operator is chosen on the raw text by kind before position: any `=` wins, then
// `<>`, `<`, `>`. So `>=` and `<=` are no operators of their own: `If>%a%>=5` compares
// `%a%>` with `5` for equality. Operands that both read as numbers compare as numbers,
// all others as texts by code unit, upper case before lower case.
#include "values/conditions.h"

#include <optional>

#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

constexpr std::size_t kNone = std::u16string_view::npos;

Condition with_labels(bool truth, std::u16string_view labels) {
  const CommaSplit split = split_at_first_comma(labels);
  return {truth, split.first, split.rest};
}

// The text after the closing brace at `close` and the one character after it, which a
// script writes as the comma before the labels.
std::u16string_view labels_after(std::u16string_view text, std::size_t close) {
  return close + 2 <= text.size() ? text.substr(close + 2) : std::u16string_view();
}

Condition whole_expression(tVarArray& table, std::u16string_view text, std::size_t close, bool evaluate,
                           CommandServices& services) {
  const std::u16string_view labels = labels_after(text, close);
  if (!evaluate) return with_labels(false, labels);
  const std::optional<bool> value = evaluate_braced_truth(table, text.substr(1, close - 1));
  if (!value) {
    services.request_stop();
    return {};
  }
  return with_labels(*value, labels);
}

enum class Comparison { kEqual, kDifferent, kLess, kGreater };

struct Operator {
  std::size_t position = kNone;
  std::size_t length = 0;
  Comparison comparison = Comparison::kEqual;
};

// One pass over the text, keeping the first place of each candidate in that order of rank.
Operator find_operator(std::u16string_view text) {
  std::size_t different = kNone;
  std::size_t less = kNone;
  std::size_t greater = kNone;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'=') return {i, 1, Comparison::kEqual};
    if (c == u'<') {
      if (less == kNone) less = i;
      if (different == kNone && i + 1 < text.size() && text[i + 1] == u'>') different = i;
    } else if (c == u'>' && greater == kNone) {
      greater = i;
    }
  }
  if (different != kNone) return {different, 2, Comparison::kDifferent};
  if (less != kNone) return {less, 1, Comparison::kLess};
  if (greater != kNone) return {greater, 1, Comparison::kGreater};
  return {};
}

template <typename T>
bool compare(const T& left, Comparison comparison, const T& right) {
  switch (comparison) {
    case Comparison::kEqual: return left == right;
    case Comparison::kDifferent: return left != right;
    case Comparison::kLess: return left < right;
    case Comparison::kGreater: return left > right;
  }
  return false;
}

bool compare_operands(std::u16string_view left, Comparison comparison, std::u16string_view right) {
  const std::optional<double> left_number = read_strict_real(left);
  const std::optional<double> right_number = read_strict_real(right);
  if (left_number && right_number) return compare(*left_number, comparison, *right_number);
  return compare(left, comparison, right);
}

Condition comparison(tVarArray& table, std::u16string_view text, bool evaluate, CommandServices& services) {
  const Operator found = find_operator(text);
  if (found.position == kNone) {
    if (evaluate) {
      services.report_runtime_error(u"Missing =,<,> or <> in If Statement.", MessageKind::kWarning,
                                    MessageButtons::kOkAbort);
    }
    return {};
  }
  Text left_holder;
  const std::u16string_view left = ExpandToView(table, text.substr(0, found.position), left_holder);
  const std::size_t rest_start = found.position + found.length;
  const std::u16string_view rest = text.substr(rest_start);
  const std::size_t close = rest.find(u'}');
  if (!rest.empty() && rest.front() == u'{' && close != kNone) {
    Text right_holder;
    const std::u16string_view right = ExpandToView(table, rest.substr(0, close + 1), right_holder);
    return with_labels(compare_operands(left, found.comparison, right), labels_after(rest, close));
  }
  // A comma before the operator leaves the right side empty.
  const std::size_t comma = text.find(u',');
  const std::u16string_view right_text =
      comma > rest_start ? text.substr(rest_start, comma - rest_start) : std::u16string_view();
  Text right_holder;
  const std::u16string_view right = ExpandToView(table, right_text, right_holder);
  return with_labels(compare_operands(left, found.comparison, right), text.substr(comma + 1));
}

}  // namespace

Condition evaluate_condition(tVarArray& table, std::u16string_view parameters, bool evaluate,
                             CommandServices& services) {
  if (!parameters.empty() && parameters.front() == u'{') {
    const std::size_t close = parameters.find(u'}');
    if (close != kNone) return whole_expression(table, parameters, close, evaluate, services);
  }
  if (parameters.find(u',') != kNone) return comparison(table, parameters, evaluate, services);
  // Without a comma there are no labels: the comma added for the operands ends the text.
  const std::u16string text = std::u16string(parameters) + u',';
  Condition condition = comparison(table, text, evaluate, services);
  condition.true_label = condition.false_label = std::u16string_view();
  return condition;
}

}  // namespace dorovev
