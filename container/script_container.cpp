// Finding, adding and saving the sections of a program file held in memory.
#include "container/script_container.h"

#include <cstring>
#include <utility>
#include <vector>

namespace dorovev {
namespace {

constexpr std::string_view kStartTag = "SO!#";
constexpr std::string_view kEndTag = "EO!#";

std::string marker(std::string_view tag, std::string_view name) {
  std::string text;
  text.reserve(tag.size() + name.size());
  text.append(tag);
  for (const char c : name) text.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  return text;
}

constexpr bool is_separator(char16_t c) noexcept { return c == u'\\' || c == u'/' || c == u':'; }

std::size_t after_last_separator(std::u16string_view path) noexcept {
  std::size_t at = path.size();
  while (at > 0 && !is_separator(path[at - 1])) --at;
  return at;
}

}  // namespace

ContainerFileError::ContainerFileError(Operation operation, std::u16string path)
    : std::runtime_error(operation == Operation::kRead ? "Cannot open file" : "Cannot create file"),
      operation_(operation),
      path_(std::move(path)) {}

std::u16string ContainerFileError::message() const {
  std::u16string text = operation_ == Operation::kRead ? u"Cannot open file \"" : u"Cannot create file \"";
  text += path_;
  text += u'"';
  return text;
}

std::string section_start_marker(std::string_view name) { return marker(kStartTag, name); }
std::string section_end_marker(std::string_view name) { return marker(kEndTag, name); }

// Knuth-Morris-Pratt: the text is read once, never stepping back, so the cost stays
// linear even for patterns such as a long run of one letter over a file full of it.
// While nothing is matched, memchr jumps to the next byte that could begin a match,
// which is what keeps a lookup in an ordinary program file fast.
std::size_t find_first(std::string_view text, std::string_view pattern, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  if (pattern.empty()) return from;
  if (pattern.size() > text.size() - from) return std::string_view::npos;

  // border[i]: the length of the longest proper prefix of pattern[0..i] that is also
  // its suffix, where a partial match of i + 1 bytes continues after a mismatch.
  std::vector<std::size_t> border(pattern.size(), 0);
  for (std::size_t i = 1, length = 0; i < pattern.size(); ++i) {
    while (length > 0 && pattern[i] != pattern[length]) length = border[length - 1];
    if (pattern[i] == pattern[length]) ++length;
    border[i] = length;
  }

  std::size_t matched = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (matched == 0) {
      const void* hit = std::memchr(text.data() + i, pattern[0], text.size() - i);
      if (hit == nullptr) break;
      i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
      if (text.size() - i < pattern.size()) break;
    }
    while (matched > 0 && text[i] != pattern[matched]) matched = border[matched - 1];
    if (text[i] == pattern[matched]) ++matched;
    if (matched == pattern.size()) return i + 1 - pattern.size();
  }
  return std::string_view::npos;
}

std::string_view find_section(std::string_view image, std::string_view name) {
  const std::string start_marker = section_start_marker(name);
  const std::size_t start = find_first(image, start_marker);
  if (start == std::string_view::npos) return {};
  const std::size_t data = start + start_marker.size();
  // The end marker is looked for after the start marker only: an end marker earlier in
  // the file (in the program image, or overlapping the start marker) belongs to no
  // section and must not hide this one.
  const std::size_t end = find_first(image, section_end_marker(name), data);
  if (end == std::string_view::npos) return {};
  return image.substr(data, end - data);
}

void append_section(std::string& image, std::string_view name, std::string_view data) {
  const std::string start_marker = section_start_marker(name);
  const std::string end_marker = section_end_marker(name);
  image.reserve(image.size() + start_marker.size() + data.size() + end_marker.size());
  image += start_marker;
  image += data;
  image += end_marker;
}

std::u16string directory_of(std::u16string_view path) {
  return std::u16string(path.substr(0, after_last_separator(path)));
}

std::u16string_view file_name_of(std::u16string_view path) { return path.substr(after_last_separator(path)); }

ScriptImage::ScriptImage(ImageFiles& files, std::u16string program_path)
    : files_(files), program_path_(std::move(program_path)) {}

void ScriptImage::load(std::u16string_view path) {
  std::optional<std::string> bytes = files_.read_file(path);
  if (!bytes) throw ContainerFileError(ContainerFileError::Operation::kRead, std::u16string(path));
  image_ = std::move(*bytes);
}

void ScriptImage::load_program_when_empty() {
  if (image_.empty()) load(program_path_);
}

std::string ScriptImage::read_section(std::string_view name) {
  load_program_when_empty();
  return std::string(find_section(image_, name));
}

bool ScriptImage::read_section_to_file(std::string_view name, std::u16string_view path) {
  load_program_when_empty();
  const std::string_view data = find_section(image_, name);
  if (data.empty()) return false;
  if (!files_.write_file(path, data)) throw ContainerFileError(ContainerFileError::Operation::kWrite, std::u16string(path));
  return true;
}

void ScriptImage::truncate(std::size_t size) {
  if (size < image_.size()) image_.resize(size);
}

void ScriptImage::add_section(std::string_view name, std::string_view data) {
  load_program_when_empty();
  append_section(image_, name, data);
}

void ScriptImage::add_section_from_file(std::string_view name, std::u16string_view path) {
  const std::optional<std::string> data = files_.read_file(path);
  if (!data) throw ContainerFileError(ContainerFileError::Operation::kRead, std::u16string(path));
  add_section(name, *data);
}

void ScriptImage::save(std::u16string_view path) {
  load_program_when_empty();
  // The program's directory exists while the program runs from it; should it refuse to
  // become current, a relative path is written where the current directory is.
  files_.set_current_directory(directory_of(program_path_));
  if (!files_.write_file(path, image_)) throw ContainerFileError(ContainerFileError::Operation::kWrite, std::u16string(path));
}

}  // namespace dorovev
