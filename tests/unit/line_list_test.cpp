// Turning script bytes into the line list.
#include <gtest/gtest.h>

#include "engine/line_list.h"
#include "tests/support/fake_platform.h"

namespace dorovev {
namespace {

using testing::FakePlatform;
using testing::u16;

std::vector<std::u16string> texts(const LineList& lines) {
  std::vector<std::u16string> out;
  for (const Text& line : lines) out.push_back(line.str());
  return out;
}

struct SplitCase {
  std::u16string text;
  std::vector<std::u16string> lines;
};

TEST(SplitLines, BreaksAtEveryLineEndAndStopsAtNul) {
  const SplitCase cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},                        // no empty last line
      {u"a\r\n\r\n", {u"a", u""}},
      {u"\n", {u""}},
      {u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
      {u"a\n\rb", {u"a", u"", u"b"}},             // LF then CR is two line ends
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {std::u16string(u"a\nb\0c\nd", 7), {u"a", u"b"}},  // the text ends at NUL
      {u"  let>x = 1  ", {u"  let>x = 1  "}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(texts(split_lines(c.text)), c.lines);
}

std::string utf16le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TEST(CompiledScript, DropsTheByteOrderMarkAndSplits) {
  EXPECT_EQ(texts(lines_from_compiled_script(utf16le(u"\xFEFFLet>x=\x00e9\r\nSend>x\r\n"))),
            (std::vector<std::u16string>{u"Let>x=\x00e9", u"Send>x"}));
  // A trailing odd byte is no character.
  EXPECT_EQ(texts(lines_from_compiled_script(utf16le(u"\xFEFF" u"ab") + "X")),
            (std::vector<std::u16string>{u"ab"}));
  EXPECT_TRUE(lines_from_compiled_script("").empty());
  EXPECT_TRUE(lines_from_compiled_script(utf16le(u"\xFEFF")).empty());
}

TEST(ScriptFile, TheByteOrderMarkChoosesTheEncoding) {
  FakePlatform platform;
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFK\xC3\xA9y \xE2\x82\xAC \xF0\x9F\x98\x80", u"K\x00e9y \x20AC \xD83D\xDE00"},
      {std::string("\xFF\xFEK\0\xE9\0", 6), u"K\x00e9"},
      {std::string("\xFE\xFF\0K\x20\xAC", 6), u"K\x20AC"},
      // No mark: the ANSI code page (Windows-1252 in the fake).
      {"K\xE9y \x80", u"K\x00e9y \x20AC"},
      // Broken UTF-8 is replaced, never dropped or crashed on.
      {"\xEF\xBB\xBF" "a\xC3" "b\xFF", u"a\xFFFD" u"b\xFFFD"},
      {"\xEF\xBB\xBF\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},  // an encoded surrogate is malformed
  };
  for (const Case& c : cases) EXPECT_EQ(decode_script_file(c.bytes, platform), c.text);
}

TEST(ScriptFile, ReadsThroughThePlatform) {
  FakePlatform platform;
  platform.files[u"a.scp"] = "Let>x=1\r\nLet>y=2\r\n";
  EXPECT_EQ(texts(*lines_from_script_file(u"a.scp", platform)),
            (std::vector<std::u16string>{u"Let>x=1", u"Let>y=2"}));
  EXPECT_FALSE(lines_from_script_file(u"missing.scp", platform).has_value());
}

}  // namespace
}  // namespace dorovev
