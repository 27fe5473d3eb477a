// The string commands. None of them keeps state; only MID and POS report errors, and
// both then assign nothing.
#include "values/string_commands.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "values/ascii.h"
#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

// The pieces before the first three commas and everything after the third, as written.
struct FourPieces {
  std::u16string_view first, second, third, rest;
};

FourPieces split_four(std::u16string_view parameters) noexcept {
  const CommaSplit one = split_at_first_comma(parameters);
  const CommaSplit two = split_at_first_comma(one.rest);
  const CommaSplit three = split_at_first_comma(two.rest);
  return {one.first, two.first, three.first, three.rest};
}

std::u16string decimal(std::int64_t number) { return widen_ascii(std::to_string(number)); }

void assign_number(tVarArray& table, std::u16string_view name, std::int64_t number) {
  AssignVariable(table, name, decimal(number));
}

// Blank text holds no character above U+0020.
bool is_blank(std::u16string_view text) noexcept {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= u' '; });
}

}  // namespace

std::u16string_view substring(std::u16string_view text, std::int64_t start, std::int64_t length) noexcept {
  if (length < 0) return {};
  if (start < 1) start = 1;
  const auto size = static_cast<std::int64_t>(text.size());
  if (start > size) return {};
  const std::int64_t count = std::min(length, size - (start - 1));
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

std::u16string replace_all(std::u16string_view source, std::u16string_view find, std::u16string_view replacement) {
  if (find.empty()) return std::u16string(source);
  std::u16string out;
  out.reserve(source.size());
  std::size_t from = 0;
  for (std::size_t found = source.find(find); found != std::u16string_view::npos; found = source.find(find, from)) {
    out.append(source.substr(from, found - from)).append(replacement);
    from = found + find.size();
  }
  out.append(source.substr(from));
  return out;
}

void concatenate_command(tVarArray& table, std::u16string_view parameters, CommandServices&) {
  const CommaSplit split = split_at_first_comma(parameters);
  const std::u16string_view name = split.first;
  const Text addition = ExpandText(table, split.rest);
  Text current;
  std::u16string_view target;
  if (contains_percent(name)) {
    // `%x%` addresses x: the name without its first and last character.
    current = ExpandText(table, name);
    target = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::u16string_view();
  } else {
    std::u16string reference;
    reference.reserve(name.size() + 2);
    reference.append(1, u'%').append(name).append(1, u'%');
    current = ExpandText(table, reference);
    target = name;
  }
  if (addition.empty()) {
    AssignVariable(table, target, current);
    return;
  }
  std::u16string value;
  value.reserve(current.size() + addition.size());
  value.append(current.view()).append(addition.view());
  AssignVariable(table, target, value);
}

void substring_command(tVarArray& table, std::u16string_view parameters, CommandServices& services) {
  const FourPieces pieces = split_four(parameters);
  const Text source = ExpandText(table, pieces.first);
  const Text start_text = ExpandText(table, pieces.second);
  const Text length_text = ExpandText(table, pieces.third);
  const std::optional<std::int32_t> start = read_strict_integer(start_text.view());
  const std::optional<std::int32_t> length = read_strict_integer(length_text.view());
  if (!start || !length || source.empty() || pieces.rest.empty()) {
    services.report_runtime_error(u"Error in SubString Command.", MessageKind::kInformation,
                                  MessageButtons::kOkAbort);
    return;
  }
  AssignVariable(table, pieces.rest, substring(source.view(), *start, *length));
}

void position_command(tVarArray& table, std::u16string_view parameters, CommandServices& services) {
  const FourPieces pieces = split_four(parameters);
  const Text needle = ExpandText(table, pieces.first);
  const Text haystack = ExpandText(table, pieces.second);
  const Text start_text = ExpandText(table, pieces.third);
  // The result name, and after a further comma the mode text.
  const CommaSplit tail = split_at_first_comma(pieces.rest);
  const bool has_mode = tail.first.size() != pieces.rest.size();
  const std::u16string_view result = tail.first;
  Text mode_holder;
  const std::u16string_view mode = has_mode ? ExpandToView(table, tail.rest, mode_holder) : u"TRUE";

  // A start past the end, read loosely and unsigned (so a negative one too), finds nothing.
  const auto loose_start = static_cast<std::uint32_t>(read_integer_or_zero(start_text.view()));
  if (haystack.empty() || loose_start > haystack.size()) {
    AssignVariable(table, result, u"0");
    return;
  }
  const std::optional<std::int32_t> start = read_strict_integer(start_text.view());
  if (!start || needle.empty() || result.empty()) {
    services.report_runtime_error(u"Error in Position Command.", MessageKind::kInformation,
                                  MessageButtons::kOkAbort);
    return;
  }
  // The search runs in the haystack from start (a start of 0 counts as 1).
  const std::size_t from = *start < 1 ? 0 : static_cast<std::size_t>(*start - 1);
  const std::size_t found = haystack.view().find(needle.view(), from);
  const std::int64_t relative = found == std::u16string_view::npos ? 0 : static_cast<std::int64_t>(found - from) + 1;
  if (equals_ignoring_ascii_case(mode, u"FALSE")) {
    assign_number(table, result, relative);
  } else {
    // Counted in the whole haystack as start + k - 1 (so a start of 0 gives one less).
    assign_number(table, result, relative > 0 ? relative + *start - 1 : 0);
  }
}

void length_command(tVarArray& table, std::u16string_view parameters, CommandServices&) {
  const CommaSplit split = split_at_first_comma(parameters);
  Text holder;
  const std::u16string_view text = ExpandToView(table, split.first, holder);
  assign_number(table, split.rest, static_cast<std::int64_t>(text.size()));
}

void replace_command(tVarArray& table, std::u16string_view parameters, CommandServices&) {
  const FourPieces pieces = split_four(parameters);
  const Text source = ExpandText(table, pieces.first);
  const Text find = ExpandText(table, pieces.second);
  const Text replacement = ExpandText(table, pieces.third);
  if (find.empty() || source.view().find(find.view()) == std::u16string_view::npos) {
    AssignVariable(table, pieces.rest, source);  // unchanged: the stored text is shared
    return;
  }
  AssignVariable(table, pieces.rest, replace_all(source.view(), find.view(), replacement.view()));
}

void separate_command(tVarArray& table, std::u16string_view parameters, CommandServices&) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text source = ExpandText(table, split.first);
  // The rest is expanded as a whole before it is split again, so the result name may
  // come from a variable, and the delimiter is expanded a second time on its own.
  const Text rest = ExpandText(table, split.rest);
  const CommaSplit tail = split_at_first_comma(rest.view());
  const Text delimiter = ExpandText(table, tail.first);
  const std::u16string result(tail.rest);

  std::u16string name = result + u"_";
  const std::size_t stem = name.size();
  std::int64_t count = 0;
  if (!is_blank(source.view()) && !delimiter.empty()) {
    // The source with the delimiter appended, taken apart from the front.
    std::u16string work;
    work.reserve(source.size() + delimiter.size());
    work.append(source.view()).append(delimiter.view());
    const std::u16string_view whole(work);
    std::size_t from = 0;
    for (std::size_t found = whole.find(delimiter.view()); found != std::u16string_view::npos;
         found = whole.find(delimiter.view(), from)) {
      ++count;
      name.resize(stem);
      name += decimal(count);
      AssignVariable(table, name, whole.substr(from, found - from));
      from = found + delimiter.size();
    }
  }
  name.resize(stem);
  name += u"count";
  assign_number(table, name, count);
}

}  // namespace dorovev
