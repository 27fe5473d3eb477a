// `Let>`: how the right-hand side is told apart and computed.
//
// The right-hand side is an expression when it is braced, and otherwise plain text that
// may hold one arithmetic operator. The operator is searched in the whole parameter
// text, name included, by operator rather than by position (`+`, then `-`, `*`, `/`);
// scripts rely on the consequences, such as `Let>x=-5` and `Let>d=2009-01-15` keeping
// their text because the empty or partial left side is no number.
#include "values/assignment.h"

#include <cmath>
#include <optional>

#include "values/ascii.h"
#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_format.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

// Turns trimming off for the expression form and puts the "1" back afterwards, even
// when the expression itself assigned the flag.
class TrimmingSuspension {
 public:
  explicit TrimmingSuspension(tVarArray& table) : table_(table), was_on_(table.trimming()) {
    if (was_on_) AssignVariable(table_, u"IGNORESPACES", u"0");
  }
  ~TrimmingSuspension() {
    if (was_on_) AssignVariable(table_, u"IGNORESPACES", u"1");
  }
  TrimmingSuspension(const TrimmingSuspension&) = delete;
  TrimmingSuspension& operator=(const TrimmingSuspension&) = delete;

 private:
  tVarArray& table_;
  bool was_on_;
};

bool is_braced(std::u16string_view text) { return !text.empty() && text.front() == u'{' && text.back() == u'}'; }

void assign_expression(tVarArray& table, std::u16string_view name, std::u16string_view rhs,
                       CommandServices& services) {
  const TrimmingSuspension suspension(table);
  const Text target = contains_percent(name) ? ExpandText(table, name, false) : Text(name);
  const std::optional<Text> value = evaluate_braced_inside(table, rhs.substr(1, rhs.size() - 2));
  if (!value) {
    services.request_stop();
    return;
  }
  AssignVariable(table, target.view(), *value);
}

// Where the one operator of the plain form is, and which it is.
struct Operator {
  std::size_t position;
  char16_t symbol;
};

std::optional<Operator> find_operator(std::u16string_view parameters) {
  for (char16_t symbol : {u'+', u'-', u'*', u'/'}) {
    const std::size_t position = parameters.find(symbol);
    if (position != std::u16string_view::npos) return Operator{position, symbol};
  }
  return std::nullopt;
}

// The outcome of two-operand arithmetic: a result, a failure that keeps the plain
// text, or a division by zero of two plain numbers, which is reported.
enum class Outcome { kValue, kKeepText, kDivisionByZero };

struct Computation {
  Outcome outcome;
  double value = 0;
};

Computation apply(double left, char16_t symbol, double right) {
  if (symbol == u'/' && right == 0) return {Outcome::kDivisionByZero};
  const double value = symbol == u'+' ? left + right : symbol == u'-' ? left - right
                     : symbol == u'*' ? left * right : left / right;
  if (!std::isfinite(value)) return {Outcome::kKeepText};
  return {Outcome::kValue, value};
}

// Strict reals first; then the user's own decimal separator, where every failure, a
// division by zero included, keeps the text.
Computation compute(const Text& left, char16_t symbol, const Text& right, CommandServices& services) {
  const std::optional<double> strict_left = read_strict_real(left.view());
  const std::optional<double> strict_right = read_strict_real(right.view());
  if (strict_left && strict_right) return apply(*strict_left, symbol, *strict_right);
  const char16_t separator = services.decimal_separator();
  const std::optional<double> local_left = read_locale_real(left.view(), separator);
  const std::optional<double> local_right = read_locale_real(right.view(), separator);
  if (!local_left || !local_right) return {Outcome::kKeepText};
  const Computation computation = apply(*local_left, symbol, *local_right);
  return computation.outcome == Outcome::kDivisionByZero ? Computation{Outcome::kKeepText} : computation;
}

// The value of the plain form, or nothing after a reported division by zero.
std::optional<Text> plain_value(tVarArray& table, std::u16string_view parameters, std::size_t equals,
                                CommandServices& services) {
  const std::u16string_view after_equals = parameters.substr(equals + 1);
  const std::optional<Operator> found = find_operator(parameters);
  if (!found) return ExpandText(table, after_equals);
  // An operator inside the name leaves an empty left side.
  const std::u16string_view left_text =
      found->position > equals ? parameters.substr(equals + 1, found->position - equals - 1) : std::u16string_view();
  const Text left = ExpandText(table, left_text);
  const Text right = ExpandText(table, parameters.substr(found->position + 1));
  const Computation computation = compute(left, found->symbol, right, services);
  switch (computation.outcome) {
    case Outcome::kValue: return Text(format_general(computation.value, services.decimal_separator()));
    case Outcome::kKeepText: return ExpandText(table, after_equals);
    case Outcome::kDivisionByZero: break;
  }
  services.report_runtime_error(u"Floating point division by zero", MessageKind::kInformation,
                                MessageButtons::kOkAbort);
  return std::nullopt;
}

// The names compare as written, case and spaces included: `Let>rnd_seed=5` is an
// ordinary variable.
void apply_special_name(tVarArray& table, std::u16string_view raw_name, std::u16string_view after_equals,
                        CommandServices& services) {
  if (raw_name == u"RND_SEED") {
    services.random_seed() = static_cast<std::uint32_t>(read_integer_or_zero(ExpandText(table, after_equals).view()));
  } else if (raw_name == u"APP_TITLE") {
    services.set_application_title(ExpandText(table, after_equals).view());
  }
}

void assign_plain(tVarArray& table, std::u16string_view parameters, std::size_t equals, std::u16string_view name,
                  CommandServices& services) {
  Text holder;
  const std::u16string_view target = contains_percent(name) ? ExpandToView(table, name, holder, false) : name;
  if (!find_operator(parameters)) {
    // The commonest form: the value as it resolves. A stored value is shared, and an
    // unchanged one is not made again.
    Text value_holder;
    const std::u16string_view value = ExpandToView(table, parameters.substr(equals + 1), value_holder);
    if (value.data() == value_holder.view().data() && !value.empty()) {
      AssignVariable(table, target, value_holder);
    } else {
      AssignVariable(table, target, value);
    }
  } else {
    const std::optional<Text> value = plain_value(table, parameters, equals, services);
    if (!value) return;
    AssignVariable(table, target, *value);
  }
  apply_special_name(table, parameters.substr(0, equals), parameters.substr(equals + 1), services);
}

}  // namespace

void let_command(tVarArray& table, std::u16string_view parameters, CommandServices& services) {
  const std::size_t equals = parameters.find(u'=');
  if (equals == std::u16string_view::npos) {
    std::u16string message = u"Error with Let>";
    message.append(parameters).append(u", = missing.");
    services.report_runtime_error(message, MessageKind::kWarning, MessageButtons::kOkAbort);
    return;
  }
  std::u16string_view name = parameters.substr(0, equals);
  std::u16string_view rhs = parameters.substr(equals + 1);
  if (table.trimming()) {
    name = trim(name);
    rhs = trim(rhs);
  }
  if (is_braced(rhs)) {
    assign_expression(table, name, rhs, services);
  } else {
    assign_plain(table, parameters, equals, name, services);
  }
}

}  // namespace dorovev
