// Building the line list from script bytes.
#include "engine/line_list.h"

#include "engine/platform.h"
#include "engine/unicode.h"

namespace dorovev {

LineList split_lines(std::u16string_view text) {
  const std::size_t nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) text = text.substr(0, nul);

  LineList lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
    start = end + 1;
  }
  return lines;
}

LineList lines_from_compiled_script(std::string_view bytes) {
  const std::u16string text = decode_utf16(bytes, false);
  if (text.empty()) return {};
  return split_lines(std::u16string_view(text).substr(1));
}

std::u16string decode_script_file(std::string_view bytes, Platform& platform) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return decode_utf8(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return decode_utf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return decode_utf16(bytes.substr(2), true);
  return platform.ansi_to_text(bytes);
}

std::optional<LineList> lines_from_script_file(std::u16string_view path, Platform& platform) {
  const std::optional<std::string> bytes = platform.read_file(path);
  if (!bytes) return std::nullopt;
  return split_lines(decode_script_file(*bytes, platform));
}

}  // namespace dorovev
