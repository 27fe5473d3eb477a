#include "commands/input/mouse_move_target.h"

#include "engine/run_context.h"
#include "values/number_readers.h"

namespace dorovev {

std::optional<ScreenPoint> read_move_target(const RunContext& run, std::u16string_view parameters) {
  const std::size_t comma = parameters.rfind(u',');
  // Without a comma the y text is empty and cannot read; the x text need not be resolved.
  if (comma == std::u16string_view::npos) return std::nullopt;
  const Text x_text = run.resolve(parameters.substr(0, comma));
  const Text y_text = run.resolve(parameters.substr(comma + 1));
  const std::optional<std::int32_t> x = read_strict_integer(x_text.view());
  const std::optional<std::int32_t> y = read_strict_integer(y_text.view());
  if (!x || !y) return std::nullopt;
  return ScreenPoint{*x, *y};
}

}  // namespace dorovev
