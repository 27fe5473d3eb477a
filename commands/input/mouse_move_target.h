// Where MouseMove> and MouseMoveRel> send the pointer: the two numbers of their parameter text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dorovev {

class RunContext;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The parameter text splits at its last comma, so the x text may hold commas of its own
// (and then is no number). Both pieces are resolved and must read as strict integers.
// Without a comma there is no y, so the text never names a point. Nothing when either
// piece is not a whole number.
std::optional<ScreenPoint> read_move_target(const RunContext& run, std::u16string_view parameters);

}  // namespace dorovev
