// Line analysis, include and embedded data blocks.
#include "engine/line_analysis.h"

#include "engine/line_shapes.h"
#include "engine/platform.h"
#include "engine/script_extensions.h"
#include "values/ascii.h"
#include "values/base64.h"
#include "values/expand_text.h"

namespace dorovev {

using namespace codes;

namespace {

std::u16string_view parameters_after(std::u16string_view line, std::size_t separator) noexcept {
  if (separator == std::u16string_view::npos) separator = line.find(u' ');
  return separator == std::u16string_view::npos ? line : line.substr(separator + 1);
}

}  // namespace

std::u16string_view parameter_text_of(std::u16string_view line) noexcept {
  line = trim_left(line);
  return parameters_after(line, line.find(u'>'));
}

AnalysedLine split_line(std::u16string_view line) noexcept {
  line = trim_left(line);
  const std::size_t separator = line.find(u'>');
  return AnalysedLine{command_code_of(line, separator), parameters_after(line, separator)};
}

std::optional<AnalysedLine> LineAnalysisCache::find(std::size_t index, const Text& line) const noexcept {
  if (index >= entries_.size() || !entries_[index].line.shares_storage_with(line) || entries_[index].code.key() == 0) {
    return std::nullopt;
  }
  const Entry& entry = entries_[index];
  return AnalysedLine{entry.code, line.view().substr(entry.parameters_offset, entry.parameters_size)};
}

void LineAnalysisCache::store(std::size_t index, const Text& line, AnalysedLine analysed) {
  if (index >= entries_.size()) entries_.resize(index + 1);
  const auto offset = static_cast<std::size_t>(analysed.parameters.data() - line.view().data());
  entries_[index] = Entry{line, analysed.code, static_cast<std::uint32_t>(offset),
                          static_cast<std::uint32_t>(analysed.parameters.size())};
}

AnalysedLine analyse_line(const Text& current, LineCursor& cursor, const tVarArray& variables,
                          Platform& platform, ScriptExtensions* extensions, LineAnalysisCache* cache) {
  const std::u16string_view line = trim_left(current.view());
  const std::size_t index = cursor.next - 1;
  if (cache && cursor.next > 0) {
    if (const std::optional<AnalysedLine> cached = cache->find(index, current)) {
      if (extensions) extensions->offer_imported_function_call(line);
      return *cached;
    }
  }

  bool plain = true;
  if (opens_block_comment(line)) {
    cursor.next = skip_block_comment_forward(cursor.lines, cursor.next);
    plain = false;
  } else if (is_comment_line(line)) {
    cursor.next = skip_comment_run(cursor.lines, cursor.next);
    plain = false;
  }
  if (extensions) extensions->offer_imported_function_call(line);

  const AnalysedLine analysed = split_line(line);
  if (starts_with_upper(line, u"INC") && cursor.next > 0) {
    const Text path = ExpandText(variables, analysed.parameters);
    if (include_script_file(cursor.lines, cursor.next - 1, path.view(), platform)) --cursor.next;
    plain = false;
  }
  // Only a line that stands at its position in the list is remembered there.
  if (cache && plain && cursor.next > 0 && index < cursor.lines.size() &&
      cursor.lines[index].shares_storage_with(current) && !current.empty()) {
    cache->store(index, current, analysed);
  }
  return analysed;
}

bool include_script_file(LineList& lines, std::size_t index, std::u16string_view path, Platform& platform) {
  if (index >= lines.size() || !platform.file_exists(path)) return false;
  std::optional<LineList> included = lines_from_script_file(path, platform);
  if (!included) return false;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), std::make_move_iterator(included->begin()),
               std::make_move_iterator(included->end()));
  return true;
}

std::optional<std::string> find_data_block(const LineList& lines, std::u16string_view name) {
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::u16string_view line = lines[i].view();
    if (line.size() != name.size() + 1 || !line.starts_with(name) || line.back() != u':') continue;
    std::u16string hex;
    for (std::size_t k = i + 1; k < lines.size() && !lines[k].empty(); ++k) hex.append(lines[k].view());
    return decode_hex_prefix(hex);
  }
  return std::nullopt;
}

}  // namespace dorovev
