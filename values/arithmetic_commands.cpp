// `Add>` and `Sub>`: a number changes in the two-decimal format, anything else is read
// as a date in the user's short date format and moves by whole days.
//
// A value that is neither a number nor a date, or a date moved outside the years 1 to
// 9999, gets a plain message box that no IGNOREERRORS silences, and the variable keeps
// its value. A sum beyond the range of a
// double is reported as a runtime error, as a floating-point overflow would be, and
// likewise leaves the variable alone.
#include "values/arithmetic_commands.h"

#include <cmath>
#include <optional>
#include <string>

#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_format.h"
#include "values/number_readers.h"
#include "values/short_date.h"

namespace dorovev {
namespace {

struct Target {
  Text current;                // the variable's value, or the reference if there is none
  std::u16string_view name;    // the variable to store into
};

Target find_target(const tVarArray& table, std::u16string_view name) {
  if (!contains_percent(name)) {
    // The variable is read as its reference `%name%`; short names need no heap for it.
    constexpr std::size_t kShort = 30;
    if (name.size() <= kShort) {
      char16_t reference[kShort + 2];
      reference[0] = u'%';
      name.copy(reference + 1, name.size());
      reference[name.size() + 1] = u'%';
      return {ExpandText(table, std::u16string_view(reference, name.size() + 2)), name};
    }
    return {ExpandText(table, u"%" + std::u16string(name) + u"%"), name};
  }
  const std::u16string_view inside = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::u16string_view();
  return {ExpandText(table, name), inside};
}

std::optional<Text> moved_date(const Text& current, double amount, CommandServices& services) {
  const std::u16string pattern = services.short_date_format();
  const std::optional<CalendarDate> date = parse_short_date(current.view(), pattern);
  if (!date) return std::nullopt;
  const std::optional<CalendarDate> moved = add_days(*date, amount);
  if (!moved) return std::nullopt;
  return Text(format_short_date(*moved, pattern));
}

void change_by(tVarArray& table, std::u16string_view parameters, double sign, std::u16string_view command,
               CommandServices& services) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Target target = find_target(table, split.first);
  Text holder;
  const double amount = sign * read_strict_real(ExpandToView(table, split.rest, holder)).value_or(0);
  if (const std::optional<double> number = read_strict_real(target.current.view())) {
    const double result = *number + amount;
    if (!std::isfinite(result)) {
      services.report_runtime_error(u"Floating point overflow", MessageKind::kInformation, MessageButtons::kOkAbort);
      return;
    }
    AssignVariable(table, target.name, Text(format_two_decimals(result)));
  } else if (const std::optional<Text> date = moved_date(target.current, amount, services)) {
    AssignVariable(table, target.name, *date);
  } else {
    std::u16string message = u"Invalid Numeric or Date Format In \"";
    message.append(command).append(parameters).append(u"\"");
    services.show_message(message, MessageKind::kPlain);
  }
}

}  // namespace

void add_command(tVarArray& table, std::u16string_view parameters, CommandServices& services) {
  change_by(table, parameters, 1, u"Add>", services);
}

void subtract_command(tVarArray& table, std::u16string_view parameters, CommandServices& services) {
  change_by(table, parameters, -1, u"Sub>", services);
}

}  // namespace dorovev
