// Line analysis: the command code and parameter text of the line being executed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/command_code.h"
#include "engine/line_list.h"

namespace dorovev {

class Platform;
class ScriptExtensions;
class tVarArray;

// The command name ends at the first `>`; without `>`, at the first blank. The
// parameter text is everything after that separator, unchanged; a line with neither has
// its whole left-trimmed text as parameter text.
std::u16string_view parameter_text_of(std::u16string_view line) noexcept;

struct AnalysedLine {
  CommandCode code;
  std::u16string_view parameters;  // a view into the current line text
};

// The command code and the parameter text of a line, in one pass over its name.
AnalysedLine split_line(std::u16string_view line) noexcept;

// The cursor of a run over its line list: `next` is the index of the line to fetch next.
struct LineCursor {
  LineList& lines;
  std::size_t next;
};

// Remembers the analysis of plain lines (neither comments nor includes) by their position,
// while the line at that position is the same stored text, so that a loop does not split
// its lines again on every pass.
class LineAnalysisCache {
 public:
  std::optional<AnalysedLine> find(std::size_t index, const Text& line) const noexcept;
  void store(std::size_t index, const Text& line, AnalysedLine analysed);

 private:
  struct Entry {
    Text line;  // held, so that its storage cannot be reused by another text
    CommandCode code;
    std::uint32_t parameters_offset = 0;
    std::uint32_t parameters_size = 0;
  };
  std::vector<Entry> entries_;
};

// Analyses the current line, which was fetched from `cursor.lines[cursor.next - 1]`
// (or replaced by the interpreter). Comments move the cursor past the lines they hide;
// an include replaces the include line with the file's lines and sets the cursor on the
// first of them. The result views `current`, which must outlive it.
AnalysedLine analyse_line(const Text& current, LineCursor& cursor, const tVarArray& variables,
                          Platform& platform, ScriptExtensions* extensions, LineAnalysisCache* cache = nullptr);

// Carries out an include line: when the file exists and reads, the line at `index` is
// replaced by the file's lines. Returns whether anything changed.
bool include_script_file(LineList& lines, std::size_t index, std::u16string_view path, Platform& platform);

// An embedded data block: a line that is exactly `name:` followed by hexadecimal lines
// up to the first empty line. Nothing when no line (the last one excepted) names it.
std::optional<std::string> find_data_block(const LineList& lines, std::u16string_view name);

}  // namespace dorovev
