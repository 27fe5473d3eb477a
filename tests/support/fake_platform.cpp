// The in-memory platform of the unit tests.
#include "tests/support/fake_platform.h"

#include <algorithm>

#include "engine/unicode.h"

namespace dorovev::testing {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::u16string FakePlatform::ansi_to_text(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    text.push_back(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b);
  }
  return text;
}

std::string FakePlatform::text_to_ansi(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes.push_back(static_cast<char>(c));
      continue;
    }
    const auto* found = std::find(std::begin(kHighControls), std::end(kHighControls), c);
    bytes.push_back(found == std::end(kHighControls) ? '?' : static_cast<char>(0x80 + (found - kHighControls)));
  }
  return bytes;
}

bool FakePlatform::file_exists(std::u16string_view path) { return files.count(std::u16string(path)) != 0; }

std::optional<std::string> FakePlatform::read_file(std::u16string_view path) {
  if (std::find(unreadable.begin(), unreadable.end(), path) != unreadable.end()) return std::nullopt;
  const auto found = files.find(std::u16string(path));
  if (found == files.end()) return std::nullopt;
  return found->second;
}

bool FakePlatform::write_file(std::u16string_view path, std::string_view bytes) {
  files[std::u16string(path)] = std::string(bytes);
  return true;
}

bool FakePlatform::append_file(std::u16string_view path, std::string_view bytes) {
  // A file can only be made in a folder that exists.
  const std::u16string name(path);
  const std::size_t separator = name.find_last_of(u'\\');
  if (separator != std::u16string::npos && !directories.count(name.substr(0, separator + 1)) &&
      !directories.count(name.substr(0, separator))) {
    return false;
  }
  files[name] += bytes;
  return true;
}

bool FakePlatform::create_directory(std::u16string_view path) {
  return directories.insert(std::u16string(path)).second;
}

bool FakePlatform::set_current_directory(std::u16string_view path) {
  if (!directory_exists(path)) return false;
  current = path;
  return true;
}

MessageButton FakePlatform::show_message_dialog(std::u16string_view text, MessageKind kind, MessageButtons buttons) {
  dialogs.push_back({std::u16string(text), kind, buttons});
  if (!answers.empty()) {
    const MessageButton answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return buttons == MessageButtons::kAbortIgnore ? MessageButton::kAbort : MessageButton::kOk;
}

void FakePlatform::process_messages() {
  ++pumps;
  if (on_pump) on_pump();
}

std::u16string u16(std::string_view utf8) { return decode_utf8(utf8); }

LineList make_lines(std::initializer_list<const char*> texts) {
  LineList lines;
  for (const char* text : texts) lines.emplace_back(u16(text));
  return lines;
}

}  // namespace dorovev::testing
