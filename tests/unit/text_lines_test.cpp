// Text files read line by line: line ends, Ctrl+Z, chunk borders, numbered lines.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "values/text_lines.h"

namespace dorovev {
namespace {

std::vector<std::string> all_lines(std::string_view bytes, std::size_t chunk) {
  MemoryByteSource source(bytes, chunk);
  LineReader reader(source, chunk);
  std::vector<std::string> lines;
  while (!reader.at_end()) lines.push_back(reader.next_line());
  return lines;
}

TEST(LineReader, CutsAtCrLfAndCrLfAndStopsAtCtrlZ) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},   // LF CR is two line ends
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"a\x1A" "b\r\nc", {"a"}},      // Ctrl+Z ends the file mid-line
      {"a\r\n\x1A" "b", {"a"}},
      {std::string("a\0b", 3), {std::string("a\0b", 3)}},
  };
  for (const Case& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{65536}}) {
      EXPECT_EQ(all_lines(c.bytes, chunk), c.lines) << "bytes " << testing::PrintToString(c.bytes) << " chunk " << chunk;
    }
  }
}

TEST(LineReader, NumberedLineGivesTheLineOrNothingPastTheEnd) {
  struct Case {
    std::string bytes;
    std::int32_t number;
    std::optional<std::string> line;
  };
  const Case cases[] = {
      {"one\r\ntwo\r\n", 2, "two"},
      {"one\r\ntwo\r\n", 3, std::nullopt},
      {"one\r\ntwo", 2, "two"},
      {"one\r\ntwo", 1, "one"},
      {"", 1, std::nullopt},
      {"", 0, ""},
      {"one", 0, ""},
      {"one", -5, ""},
      {"one\r\n\r\nthree", 2, ""},
      {"one\x1A\r\ntwo", 2, std::nullopt},
  };
  for (const Case& c : cases) {
    MemoryByteSource source(c.bytes, 3);
    EXPECT_EQ(read_numbered_line(source, c.number, [] { return false; }), c.line)
        << testing::PrintToString(c.bytes) << " line " << c.number;
  }
}

TEST(LineReader, AStopBetweenLinesGivesTheLastLineRead) {
  MemoryByteSource source("one\r\ntwo\r\nthree\r\n");
  int asked = 0;
  EXPECT_EQ(read_numbered_line(source, 3, [&] { return ++asked == 2; }), "one");
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace dorovev
