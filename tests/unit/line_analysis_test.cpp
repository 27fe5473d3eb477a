// Analysing the current line: parameter text, comments, include and data blocks.
#include <gtest/gtest.h>

#include "engine/line_analysis.h"
#include "engine/script_extensions.h"
#include "tests/support/fake_platform.h"
#include "values/variable_table.h"

namespace dorovev {
namespace {

using namespace codes;
using testing::FakePlatform;
using testing::make_lines;
using testing::u16;

TEST(ParameterText, EverythingAfterTheSeparatorUnchanged) {
  struct Case {
    const char16_t* line;
    const char16_t* parameters;
  };
  const Case cases[] = {
      {u"  let>x = 1  ", u"x = 1  "},
      {u"Let x=1", u"x=1"},
      {u"Let>a>b", u"a>b"},
      {u"Send> Hello", u" Hello"},
      {u"VBSTART", u"VBSTART"},
      {u"  VBEND  ", u" "},  // the first blank after the name separates
      {u"Label>", u""},
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(parameter_text_of(c.line), c.parameters) << std::string(c.line, c.line + 3);
}

class AnalyseLineTest : public ::testing::Test {
 protected:
  AnalyseLineTest() : variables(&platform) { variables.create_fixed_slots(); }

  // Fetches the line at `cursor.next` the way the main loop does and analyses it.
  AnalysedLine fetch(LineCursor& cursor, ScriptExtensions* extensions = nullptr) {
    current = cursor.lines[cursor.next++];
    return analyse_line(current, cursor, variables, platform, extensions);
  }

  FakePlatform platform;
  tVarArray variables;
  Text current;
};

TEST_F(AnalyseLineTest, GivesCodeAndParameters) {
  LineList lines = make_lines({"  waitwindowopen>Untitled - Notepad"});
  LineCursor cursor{lines, 0};
  const AnalysedLine line = fetch(cursor);
  EXPECT_EQ(line.code, u"WWO"_code);
  EXPECT_EQ(line.parameters, u"Untitled - Notepad");
  EXPECT_EQ(cursor.next, 1u);
}

TEST_F(AnalyseLineTest, CommentRunsAndBlockCommentsMoveTheCursor) {
  LineList lines = make_lines({"// a", "// b", "Let>x=1", "/* c", "Label>hidden", "*/", "Let>y=2", "// last"});
  LineCursor cursor{lines, 0};
  EXPECT_EQ(fetch(cursor).code, u"// "_code);
  EXPECT_EQ(cursor.next, 2u);
  EXPECT_EQ(fetch(cursor).code, u"LET"_code);
  fetch(cursor);  // the opening line itself is analysed and does nothing
  EXPECT_EQ(cursor.next, 6u);
  EXPECT_EQ(fetch(cursor).parameters, u"y=2");
  fetch(cursor);
  EXPECT_EQ(cursor.next, 8u);
}

TEST_F(AnalyseLineTest, IncludeReplacesTheLineWithTheFile) {
  platform.files[u"parts.txt"] = "Let>a=1\r\nLet>b=2\r\nLet>c=3\r\n";
  AssignVariable(variables, u"file", u"parts.txt");
  LineList lines = make_lines({"Let>x=1", "Let>y=2", "Let>z=3", "Let>w=4", "Include>%file%", "Label>after"});
  LineCursor cursor{lines, 4};
  const AnalysedLine line = fetch(cursor);
  EXPECT_EQ(line.code, u"INC"_code);
  // Line 5 became lines 5 to 7; the label moved from line 6 to line 8.
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[4].view(), u"Let>a=1");
  EXPECT_EQ(lines[6].view(), u"Let>c=3");
  EXPECT_EQ(lines[7].view(), u"Label>after");
  EXPECT_EQ(cursor.next, 4u);  // the first included line runs next
}

TEST_F(AnalyseLineTest, IncludedFilesMayIncludeAgainAndMissingOnesDoNothing) {
  platform.files[u"outer.txt"] = "INC>inner.txt\nLet>o=1";
  platform.files[u"inner.txt"] = "Let>i=1";
  platform.files[u"locked.txt"] = "Let>never=1";
  platform.unreadable.push_back(u"locked.txt");
  LineList lines = make_lines({"INC>missing.txt", "INC>locked.txt", "INC>outer.txt"});
  LineCursor cursor{lines, 0};
  fetch(cursor);
  fetch(cursor);
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_EQ(cursor.next, 2u);
  fetch(cursor);  // outer replaces line 3 and runs next
  fetch(cursor);  // its first line includes inner
  EXPECT_EQ(fetch(cursor).parameters, u"i=1");
  EXPECT_EQ(fetch(cursor).parameters, u"o=1");
  EXPECT_EQ(cursor.next, lines.size());
}

TEST_F(AnalyseLineTest, OffersEveryLineToTheImportedFunctionHook) {
  struct Recorder : ScriptExtensions {
    std::vector<std::u16string> offered;
    void offer_imported_function_call(std::u16string_view line) override { offered.emplace_back(line); }
  } recorder;
  LineList lines = make_lines({"  MessageBoxA>0,hi", "Let>x=1"});
  LineCursor cursor{lines, 0};
  fetch(cursor, &recorder);
  fetch(cursor, &recorder);
  EXPECT_EQ(recorder.offered, (std::vector<std::u16string>{u"MessageBoxA>0,hi", u"Let>x=1"}));
}

TEST_F(AnalyseLineTest, TheCacheGivesWhatAFreshAnalysisGivesUntilALineIsReplaced) {
  struct Recorder : ScriptExtensions {
    int offered = 0;
    void offer_imported_function_call(std::u16string_view) override { ++offered; }
  } recorder;
  LineList lines = make_lines({"  Let>x=1", "// a", "// b", "Send> Hello", "/* c", "*/", "Label>end"});
  LineAnalysisCache cache;
  struct Seen {
    CommandCode code;
    std::u16string parameters;
    std::size_t next;
    bool operator==(const Seen&) const = default;
  };
  const auto pass = [&](LineAnalysisCache* with) {
    std::vector<Seen> seen;
    LineCursor cursor{lines, 0};
    while (cursor.next < lines.size()) {
      current = lines[cursor.next++];
      const AnalysedLine line = analyse_line(current, cursor, variables, platform, &recorder, with);
      seen.push_back({line.code, std::u16string(line.parameters), cursor.next});
    }
    return seen;
  };
  const std::vector<Seen> fresh = pass(nullptr);
  EXPECT_EQ(pass(&cache), fresh);
  EXPECT_EQ(pass(&cache), fresh);  // from the cache, comment skips included
  EXPECT_EQ(recorder.offered, 15);  // every fetched line is offered on every pass

  lines[3] = Text(u"Add>x,1");  // the same position, another text
  lines[0] = Text(u"// now a comment");
  const std::vector<Seen> changed = pass(&cache);
  EXPECT_EQ(changed, pass(nullptr));
  EXPECT_EQ(changed.front().next, 3u);  // the comment run now starts at the first line
  EXPECT_EQ(changed[1].code, u"ADD"_code);
}

TEST(DataBlocks, DecodeHexLinesUpToTheFirstEmptyLine) {
  const LineList lines = make_lines({"Let>x=1", "logo:", "48656C", "6c6F", "", "2121", "empty:", "", "odd:", "414", "x"});
  EXPECT_EQ(find_data_block(lines, u"logo"), "Hello");
  EXPECT_EQ(find_data_block(lines, u"empty"), "");
  EXPECT_EQ(find_data_block(lines, u"odd"), "A");  // the odd digit, and the non-digit after it, end the data
  EXPECT_FALSE(find_data_block(lines, u"LOGO"));     // names compare exactly
  EXPECT_FALSE(find_data_block(lines, u"x"));        // the last line is never a block name
  EXPECT_FALSE(find_data_block(make_lines({"last:"}), u"last"));
}

}  // namespace
}  // namespace dorovev
