// Forward and backward searches over the line list.
#include "engine/line_search.h"

#include "engine/line_shapes.h"

namespace dorovev {
namespace {

std::optional<std::u16string_view> name_of(LineShape shape, std::u16string_view line) noexcept {
  switch (shape) {
    case LineShape::kLabel: return label_name(line);
    case LineShape::kSubroutineStart: return subroutine_start_name(line);
    case LineShape::kSubroutineEnd: return subroutine_end_name(line);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> find_forward(const LineList& lines, std::size_t from, LineShape shape,
                                        std::u16string_view name, bool ignore_spaces) {
  std::size_t index = from;
  while (index < lines.size()) {
    const std::u16string_view line = lines[index].view();
    if (opens_block_comment(line)) {
      index = skip_block_comment_forward(lines, index + 1);
      continue;
    }
    const std::optional<std::u16string_view> candidate = name_of(shape, line);
    if (candidate && names_match(name, *candidate, ignore_spaces)) return index;
    ++index;
  }
  return std::nullopt;
}

std::optional<std::size_t> find_repeat_backward(const LineList& lines, std::size_t index, std::u16string_view name,
                                                bool ignore_spaces) {
  while (index > 0) {
    index = skip_block_comment_backward(lines, index - 1);
    const std::optional<std::u16string_view> candidate = repeat_name(lines[index].view());
    if (candidate && names_match(name, *candidate, ignore_spaces)) return index;
  }
  return std::nullopt;
}

}  // namespace dorovev
