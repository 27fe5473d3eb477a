// The searches of the control-flow lines: every jump scans the line list afresh.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/line_list.h"

namespace dorovev {

// What a forward search looks for on a line, given its text; lines hidden in block
// comments are never looked at.
enum class LineShape { kLabel, kSubroutineStart, kSubroutineEnd };

// The first line from `from` on whose name of the given shape matches `name` (trimmed
// on both sides when `ignore_spaces`). Nothing when no line matches.
std::optional<std::size_t> find_forward(const LineList& lines, std::size_t from, LineShape shape,
                                        std::u16string_view name, bool ignore_spaces);

// Answers the forward searches of one run as find_forward does, from a list of the
// labels and subroutine bounds made at the first search and kept while the line list
// holds the same lines. A list that changed (an include replaced a line, or the run
// replaced the list) is noticed at the next search and listed afresh.
class LineSearchCache {
 public:
  std::optional<std::size_t> find_forward(const LineList& lines, std::size_t from, LineShape shape,
                                          std::u16string_view name, bool ignore_spaces);

 private:
  bool holds(const LineList& lines) const noexcept;
  void rebuild(const LineList& lines);

  struct Named {
    std::size_t line;
    std::u16string_view name;  // views a line of snapshot_
  };
  // The lines listed, held so that their storage stays theirs while it is compared.
  LineList snapshot_;
  // The lines a search from the first line looks at; a search from any of them sees
  // the rest of that search. One more entry for the end of the list.
  std::vector<bool> looked_at_;
  std::array<std::vector<Named>, 3> named_;  // by shape, in line order
  bool built_ = false;
};

// The nearest `Repeat>` line before `index` whose name matches, skipping block comments
// backwards. Nothing when there is none.
std::optional<std::size_t> find_repeat_backward(const LineList& lines, std::size_t index, std::u16string_view name,
                                                bool ignore_spaces);

}  // namespace dorovev
