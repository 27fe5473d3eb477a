// Forward and backward searches over the line list.
#include "engine/line_search.h"

#include <algorithm>

#include "engine/line_shapes.h"
#include "values/ascii.h"

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

bool LineSearchCache::holds(const LineList& lines) const noexcept {
  if (!built_ || lines.size() != snapshot_.size()) return false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].shares_storage_with(snapshot_[i])) return false;
  }
  return true;
}

void LineSearchCache::rebuild(const LineList& lines) {
  snapshot_ = lines;
  looked_at_.assign(lines.size() + 1, false);
  for (std::vector<Named>& named : named_) named.clear();
  std::size_t index = 0;
  while (index < snapshot_.size()) {
    looked_at_[index] = true;
    const std::u16string_view line = snapshot_[index].view();
    if (opens_block_comment(line)) {
      index = skip_block_comment_forward(snapshot_, index + 1);
      continue;
    }
    for (LineShape shape : {LineShape::kLabel, LineShape::kSubroutineStart, LineShape::kSubroutineEnd}) {
      if (const std::optional<std::u16string_view> name = name_of(shape, line)) {
        named_[static_cast<std::size_t>(shape)].push_back({index, *name});
      }
    }
    ++index;
  }
  looked_at_[snapshot_.size()] = true;
  built_ = true;
}

std::optional<std::size_t> LineSearchCache::find_forward(const LineList& lines, std::size_t from, LineShape shape,
                                                         std::u16string_view name, bool ignore_spaces) {
  if (!holds(lines)) rebuild(lines);
  if (from > lines.size() || !looked_at_[from]) return dorovev::find_forward(lines, from, shape, name, ignore_spaces);
  const std::vector<Named>& named = named_[static_cast<std::size_t>(shape)];
  auto candidate = std::lower_bound(named.begin(), named.end(), from,
                                    [](const Named& entry, std::size_t line) { return entry.line < line; });
  for (; candidate != named.end(); ++candidate) {
    if (names_match(name, candidate->name, ignore_spaces)) return candidate->line;
  }
  return std::nullopt;
}

std::optional<std::size_t> find_repeat_backward(const LineList& lines, std::size_t index, std::u16string_view name,
                                                bool ignore_spaces) {
  while (index > 0) {
    index = skip_block_comment_backward(lines, index - 1);
    const std::u16string_view line = lines[index].view();
    // A Repeat line begins with R after its blanks.
    if (line.empty() || (upper_ascii(line.front()) != u'R' && !is_blank_or_control(line.front()))) continue;
    const std::optional<std::u16string_view> candidate = repeat_name(line);
    if (candidate && names_match(name, *candidate, ignore_spaces)) return index;
  }
  return std::nullopt;
}

}  // namespace dorovev
