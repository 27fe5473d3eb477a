// The searches of the control-flow lines: every jump scans the line list afresh.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/line_list.h"

namespace dorovev {

// What a forward search looks for on a line, given its text; lines hidden in block
// comments are never looked at.
enum class LineShape { kLabel, kSubroutineStart, kSubroutineEnd };

// The first line from `from` on whose name of the given shape matches `name` (trimmed
// on both sides when `ignore_spaces`). Nothing when no line matches.
std::optional<std::size_t> find_forward(const LineList& lines, std::size_t from, LineShape shape,
                                        std::u16string_view name, bool ignore_spaces);

// The nearest `Repeat>` line before `index` whose name matches, skipping block comments
// backwards. Nothing when there is none.
std::optional<std::size_t> find_repeat_backward(const LineList& lines, std::size_t index, std::u16string_view name,
                                                bool ignore_spaces);

}  // namespace dorovev
