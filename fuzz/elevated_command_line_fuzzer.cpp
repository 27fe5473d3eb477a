// Fuzzes the cut of an elevated command line: the parts always lie inside the line, the
// program is never empty unless the line starts with a space or is empty, and program and
// parameters put back together (with the space that separated them) give the line again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/system/elevated_command_line.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte says whether the line names an existing file; the rest is the line.
  const bool names_file = data[0] & 1;
  std::u16string line;
  for (std::size_t i = 1; i + 1 < size; i += 2) line += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  const std::u16string_view view(line);
  const ProgramAndParameters split = split_elevated_command_line(view, [&](std::u16string_view) { return names_file; });
  const auto inside = [&](std::u16string_view part) {
    return part.empty() || (part.data() >= view.data() && part.data() + part.size() <= view.data() + view.size());
  };
  if (!inside(split.program) || !inside(split.parameters)) __builtin_trap();
  if (split.program.data() != view.data() && !split.program.empty()) __builtin_trap();
  const std::size_t gap = view.size() - split.program.size() - split.parameters.size();
  if (gap > 1) __builtin_trap();
  if (gap == 1 && view[split.program.size()] != u' ') __builtin_trap();
  if (!view.starts_with(u'"') && names_file && split.program != view) __builtin_trap();
  if (view.starts_with(u'"') && split.program.size() > 1 && !split.program.ends_with(u'"') && split.program != view) {
    __builtin_trap();
  }
  return 0;
}
