// Fuzzes the script reader and line analysis: decoding, splitting, codes, parameter
// text, comment skips, includes and data blocks, walking the script as the main loop would.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/line_analysis.h"
#include "engine/line_shapes.h"
#include "tests/support/fake_platform.h"
#include "values/variable_table.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  testing::FakePlatform platform;
  // The first half of the input can also be included as a file named "a".
  platform.files[u"a"] = std::string(bytes.substr(0, size / 2));

  LineList lines = split_lines(decode_script_file(bytes, platform));
  LineList compiled = lines_from_compiled_script(bytes);
  tVarArray variables(&platform);
  variables.create_fixed_slots();

  // A bounded walk: a script that includes itself forever is the script's own loop.
  LineCursor cursor{lines, 0};
  for (int steps = 0; steps < 500 && cursor.next < lines.size(); ++steps) {
    const Text current = lines[cursor.next++];
    const AnalysedLine line = analyse_line(current, cursor, variables, platform, nullptr);
    (void)line.code.text();
    if (cursor.next > lines.size()) __builtin_trap();
    const std::u16string_view text = current.view();
    (void)label_name(text), (void)subroutine_start_name(text), (void)subroutine_end_name(text);
    (void)repeat_name(text), (void)dialog_end_name(text), (void)is_endif_line(text), (void)is_else_line(text);
    if (skip_block_comment_backward(lines, cursor.next - (cursor.next > 0)) > lines.size()) __builtin_trap();
  }
  for (const Text& line : compiled) (void)command_code_of(line.view());
  if (!lines.empty()) (void)find_data_block(lines, lines[0].view().substr(0, lines[0].size() / 2));
  return 0;
}
