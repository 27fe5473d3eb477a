// Line shapes, name matching and comment skipping.
#include "engine/line_shapes.h"

#include "values/ascii.h"

namespace dorovev {
namespace {

// The rest of a left-trimmed line from a 1-based character position when it begins
// with `upper_prefix`.
std::optional<std::u16string_view> name_after(std::u16string_view line, std::u16string_view upper_prefix,
                                              std::size_t name_position) noexcept {
  line = trim_left(line);
  if (!starts_with_upper(line, upper_prefix)) return std::nullopt;
  const std::size_t start = name_position - 1;
  return start < line.size() ? line.substr(start) : std::u16string_view();
}

bool ends_block_comment(std::u16string_view line) noexcept { return trim_right(line).ends_with(u"*/"); }
bool begins_block_comment(std::u16string_view line) noexcept { return trim_left(line).starts_with(u"/*"); }

}  // namespace

std::optional<std::u16string_view> label_name(std::u16string_view line) noexcept {
  return name_after(line, u"LABEL", 7);
}
std::optional<std::u16string_view> subroutine_start_name(std::u16string_view line) noexcept {
  return name_after(line, u"SRT", 5);
}
std::optional<std::u16string_view> subroutine_end_name(std::u16string_view line) noexcept {
  return name_after(line, u"END", 5);
}
std::optional<std::u16string_view> repeat_name(std::u16string_view line) noexcept {
  return name_after(line, u"REPEAT", 8);
}

std::optional<std::u16string_view> dialog_end_name(std::u16string_view line) noexcept {
  line = trim_left(line);
  if (!starts_with_upper(line, u"ENDDIA")) return std::nullopt;
  const std::size_t separator = line.find(u'>');
  return separator == std::u16string_view::npos ? std::u16string_view() : line.substr(separator + 1);
}

bool is_endif_line(std::u16string_view line) noexcept { return starts_with_upper(trim_left(line), u"ENDIF"); }
bool is_else_line(std::u16string_view line) noexcept { return starts_with_upper(trim_left(line), u"ELSE"); }

bool names_match(std::u16string_view wanted, std::u16string_view candidate, bool ignore_spaces) noexcept {
  return ignore_spaces ? trim(wanted) == trim(candidate) : wanted == candidate;
}

bool is_comment_line(std::u16string_view line) noexcept { return trim_left(line).starts_with(u"//"); }

bool opens_block_comment(std::u16string_view line) noexcept {
  return begins_block_comment(line) && !ends_block_comment(line);
}

std::size_t skip_comment_run(const LineList& lines, std::size_t after) noexcept {
  while (after + 1 < lines.size() && is_comment_line(lines[after].view())) ++after;
  return after;
}

std::size_t skip_block_comment_forward(const LineList& lines, std::size_t after) noexcept {
  if (after >= lines.size()) return lines.size();
  std::size_t index = after;
  while (index < lines.size() - 1 && !ends_block_comment(lines[index].view())) ++index;
  return index + 1;
}

std::size_t skip_block_comment_backward(const LineList& lines, std::size_t index) noexcept {
  if (index >= lines.size()) return index;
  const std::u16string_view line = lines[index].view();
  // Most lines end in neither `/` nor a blank, and so close no comment.
  if (line.empty() || (line.back() != u'/' && !is_blank_or_control(line.back()))) return index;
  if (!ends_block_comment(line) || begins_block_comment(line)) return index;
  while (index > 0 && !begins_block_comment(lines[index].view())) --index;
  return index;
}

}  // namespace dorovev
