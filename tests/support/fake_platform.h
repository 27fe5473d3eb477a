// A scripted stand-in for the operating system in the portable unit tests (a fake:
// files live in memory, the ANSI code page is Windows-1252, the clock is a counter).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/line_list.h"
#include "engine/platform.h"

namespace dorovev::testing {

class FakePlatform : public Platform {
 public:
  std::uint32_t ticks = 1000;
  std::vector<std::u16string> arguments;
  std::map<std::u16string, std::string> files;  // path -> bytes
  std::vector<std::u16string> unreadable;       // paths that exist but fail to read

  std::uint32_t tick_count() override { return ticks++; }
  std::vector<std::u16string> command_line_arguments() override { return arguments; }
  std::u16string ansi_to_text(std::string_view bytes) override;
  std::string text_to_ansi(std::u16string_view text) override;
  bool file_exists(std::u16string_view path) override;
  std::optional<std::string> read_file(std::u16string_view path) override;
};

// UTF-16 text from a UTF-8 literal, for readable tests.
std::u16string u16(std::string_view utf8);

// A line list from UTF-8 literals.
LineList make_lines(std::initializer_list<const char*> texts);

}  // namespace dorovev::testing
