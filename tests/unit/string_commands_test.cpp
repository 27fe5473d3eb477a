// The string commands CON, MID, POS, LEN, RPL/STR and SEP.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "engine/value_commands.h"
#include "tests/support/fake_command_services.h"
#include "tests/support/fake_platform.h"
#include "tests/support/script_line_test.h"
#include "values/ascii.h"
#include "values/string_commands.h"

namespace dorovev {
namespace {

using testing::FakeCommandServices;
using testing::FakePlatform;

using Command = void (*)(tVarArray&, std::u16string_view, CommandServices&);

class StringCommandsTest : public ::testing::Test {
 protected:
  StringCommandsTest() : table(nullptr, nullptr) { table.create_fixed_slots(); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(table, name, value); }
  std::u16string value(std::u16string_view name) const {
    const auto found = table.value_of(name);
    return found ? found->str() : u"<unset>";
  }

  // A command, its parameters, and the value it leaves in a variable that held "<before>".
  struct Case {
    Command command;
    const char16_t* parameters;
    const char16_t* name;
    const char16_t* value;
  };
  void expect(std::initializer_list<Case> cases) {
    int index = 0;
    for (const Case& c : cases) {
      set(c.name, u"<before>");
      c.command(table, c.parameters, services);
      EXPECT_EQ(value(c.name), c.value) << "case " << index;
      ++index;
    }
  }

  FakeCommandServices services;
  tVarArray table;
};

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST_F(StringCommandsTest, ConcatenateAppendsToTheVariable) {
  set(u"add", u"cd");
  set(u"x", u"ab");
  concatenate_command(table, u"x,cd", services);
  EXPECT_EQ(value(u"x"), u"abcd");
  concatenate_command(table, u"%x%,%add%", services);  // `%x%` addresses x too
  EXPECT_EQ(value(u"x"), u"abcdcd");
  concatenate_command(table, u"X,", services);  // nothing to add
  EXPECT_EQ(value(u"x"), u"abcdcd");
  concatenate_command(table, u"x", services);  // no comma: nothing to add either
  EXPECT_EQ(value(u"x"), u"abcdcd");
  concatenate_command(table, u"x,a,b", services);  // the text may hold commas
  EXPECT_EQ(value(u"x"), u"abcdcda,b");
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, ConcatenateOnAnUnassignedNameStartsFromItsReference) {
  concatenate_command(table, u"y,cd", services);
  EXPECT_EQ(value(u"y"), u"%y%cd");
  concatenate_command(table, u"%z%,cd", services);
  EXPECT_EQ(value(u"z"), u"%z%cd");
  // A name holding `%` loses its first and last character, whatever they are.
  concatenate_command(table, u"%,c", services);
  EXPECT_EQ(value(u""), u"%c");
  concatenate_command(table, u"a%b,c", services);
  EXPECT_EQ(value(u"%"), u"a%bc");
  // With implicit lookup the whole name `%` now reads that variable.
  concatenate_command(table, u"%,d", services);
  EXPECT_EQ(value(u""), u"a%bcd");
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, ConcatenateUnderIgnoreSpaces) {
  set(u"x", u"ab");
  set(u"IGNORESPACES", u"1");
  concatenate_command(table, u"x , cd ", services);
  EXPECT_EQ(value(u"x"), u"abcd");
}

TEST_F(StringCommandsTest, SubstringCountsFromOne) {
  set(u"s", u"hello");
  set(u"n", u"2");
  expect({
      {substring_command, u"hello,2,3,r", u"r", u"ell"},
      {substring_command, u"hello,0,3,r", u"r", u"hel"},     // a start below 1 counts as 1
      {substring_command, u"hello,-5,2,r", u"r", u"he"},
      {substring_command, u"hello,9,3,r", u"r", u""},        // past the end
      {substring_command, u"hello,6,1,r", u"r", u""},
      {substring_command, u"hello,5,1,r", u"r", u"o"},
      {substring_command, u"hello,3,99,r", u"r", u"llo"},    // a length past the end stops there
      {substring_command, u"hello,2,0,r", u"r", u""},
      {substring_command, u"hello,2,-1,r", u"r", u""},       // a negative length gives nothing
      {substring_command, u"hello,2147483647,2147483647,r", u"r", u""},
      {substring_command, u"hello,1,2147483647,r", u"r", u"hello"},
      {substring_command, u"%s%,%n%,$2,r", u"r", u"el"},     // hexadecimal integers read too
      {substring_command, u"s,n,3,r", u"r", u"ell"},         // whole-parameter names
      {substring_command, u"a b,2,2,r", u"r", u" b"},
      {substring_command, u"hello, 2,3,r", u"r", u"ell"},    // leading spaces are allowed
      {substring_command, u"hello,1,1,r,s", u"r,s", u"h"},   // the result is the rest, as written
  });
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, SubstringReportsBadParametersAndAssignsNothing) {
  set(u"empty", u"");
  for (const char16_t* parameters :
       {u",1,1,r", u"%empty%,1,1,r", u"hello,a,1,r", u"hello,1,x,r", u"hello,,1,r", u"hello,1,,r", u"hello,1,1,",
        u"hello,1,1", u"hello", u"", u"hello,2147483648,1,r", u"hello,1.5,1,r"}) {
    services.reports.clear();
    substring_command(table, parameters, services);
    ASSERT_EQ(services.reports.size(), 1u) << narrow(parameters);
    EXPECT_EQ(services.reports[0].message, u"Error in SubString Command.");
    EXPECT_EQ(services.reports[0].kind, MessageKind::kInformation);
    EXPECT_EQ(services.reports[0].buttons, MessageButtons::kOkAbort);
  }
  EXPECT_EQ(value(u"r"), u"<unset>");
  EXPECT_EQ(table.count(), 4);  // only the fixed slots and `empty`
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(services.stop_requests, 0);
}

TEST_F(StringCommandsTest, PositionInTheWholeTextOrFromTheStart) {
  set(u"h", u"hello");
  set(u"mode", u"false");
  expect({
      {position_command, u"l,hello,1,r", u"r", u"3"},
      {position_command, u"l,hello,4,r", u"r", u"4"},
      {position_command, u"l,hello,4,r,FALSE", u"r", u"1"},  // counted from the start
      {position_command, u"l,hello,4,r,False", u"r", u"1"},
      {position_command, u"l,hello,4,r,%mode%", u"r", u"1"},
      {position_command, u"l,hello,4,r,TRUE", u"r", u"4"},
      {position_command, u"l,hello,4,r,", u"r", u"4"},        // any other mode is absolute
      {position_command, u"l,hello,4,r,FALSE,x", u"r", u"4"},
      {position_command, u"l,hello,9,r", u"r", u"0"},         // a start past the end finds nothing
      {position_command, u"l,hello,6,r", u"r", u"0"},
      {position_command, u"o,hello,5,r", u"r", u"5"},
      {position_command, u"l,hello,-1,r", u"r", u"0"},        // a negative start reads as a huge one
      {position_command, u"x,hello,1,r", u"r", u"0"},
      {position_command, u"L,hello,1,r", u"r", u"0"},         // case counts
      {position_command, u"lo,hello,1,r,FALSE", u"r", u"4"},
      {position_command, u"hello!,hello,1,r", u"r", u"0"},
      {position_command, u"h,hello,0,r", u"r", u"0"},         // a start of 0: k + start - 1
      {position_command, u"e,hello,0,r", u"r", u"1"},
      {position_command, u"e,hello,0,r,FALSE", u"r", u"2"},
      {position_command, u"l,h,$3,r", u"r", u"3"},
      {position_command, u"l,,1,r", u"r", u"0"},              // an empty haystack finds nothing
      {position_command, u",,1,r", u"r", u"0"},
      {position_command, u",hello,9,r", u"r", u"0"},          // checked before the needle
      {position_command, u"l,hello,a9,r", u"r", u"<before>"}, // reads as 0, then fails strictly
  });
  ASSERT_EQ(services.reports.size(), 1u);
  EXPECT_EQ(services.reports[0].message, u"Error in Position Command.");
}

TEST_F(StringCommandsTest, PositionReportsBadParametersAndAssignsNothing) {
  for (const char16_t* parameters : {u"l,hello,a,r", u",hello,1,r", u"l,hello,1,", u"l,hello,1,,FALSE", u"l,hello,1",
                                     u"l,hello,,r", u"l,hello,4294967297,r"}) {
    services.reports.clear();
    position_command(table, parameters, services);
    ASSERT_EQ(services.reports.size(), 1u) << narrow(parameters);
    EXPECT_EQ(services.reports[0].message, u"Error in Position Command.");
    EXPECT_EQ(services.reports[0].kind, MessageKind::kInformation);
    EXPECT_EQ(services.reports[0].buttons, MessageButtons::kOkAbort);
  }
  EXPECT_EQ(table.count(), 3);
}

TEST_F(StringCommandsTest, PositionWithoutResultNameStillAssignsZeroForAStartPastTheEnd) {
  position_command(table, u"l,hello,9,", services);
  EXPECT_EQ(value(u""), u"0");
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, LengthCountsUtf16CodeUnits) {
  set(u"s", u"a,b");
  expect({
      {length_command, u"hello,r", u"r", u"5"},
      {length_command, u",r", u"r", u"0"},
      {length_command, u"%s%,r", u"r", u"3"},
      {length_command, u"s,r", u"r", u"3"},
      {length_command, u"%nosuch%,r", u"r", u"8"},
      {length_command, u"\U0001F600,r", u"r", u"2"},
      {length_command, u" a ,r", u"r", u"3"},
      {length_command, u"a,b,c", u"b,c", u"1"},
  });
  length_command(table, u"", services);
  EXPECT_EQ(value(u""), u"0");
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, ReplaceEveryOccurrenceWithoutRescanning) {
  set(u"s", u"a,a");
  expect({
      {replace_command, u"aaa,a,b,r", u"r", u"bbb"},
      {replace_command, u"aaa,A,b,r", u"r", u"aaa"},   // case counts
      {replace_command, u"aaa,,b,r", u"r", u"aaa"},    // an empty find changes nothing
      {replace_command, u"aaaa,aa,a,r", u"r", u"aa"},
      {replace_command, u"aaa,aa,x,r", u"r", u"xa"},
      {replace_command, u"ab,a,aa,r", u"r", u"aab"},   // replaced text is not scanned again
      {replace_command, u"hello world,o,,r", u"r", u"hell wrld"},
      {replace_command, u"%s%,%comma%,;,r", u"r", u"a,a"},
      {replace_command, u"s,a,b,r", u"r", u"b,b"},
      {replace_command, u",a,b,r", u"r", u""},
      {replace_command, u"abc,abcd,x,r", u"r", u"abc"},
      {replace_command, u"abc,c,x,r,s", u"r,s", u"abx"},
  });
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, ReplaceAllHelper) {
  EXPECT_EQ(replace_all(u"", u"a", u"b"), u"");
  EXPECT_EQ(replace_all(u"abab", u"ab", u"-"), u"--");
  EXPECT_EQ(replace_all(u"xabx", u"ab", u""), u"xx");
  EXPECT_EQ(replace_all(u"abc", u"", u"-"), u"abc");
}

TEST_F(StringCommandsTest, SeparateIntoNumberedVariables) {
  separate_command(table, u"a;b;;c,;,part", services);
  EXPECT_EQ(value(u"part_1"), u"a");
  EXPECT_EQ(value(u"part_2"), u"b");
  EXPECT_EQ(value(u"part_3"), u"");
  EXPECT_EQ(value(u"part_4"), u"c");
  EXPECT_EQ(value(u"part_5"), u"<unset>");
  EXPECT_EQ(value(u"part_count"), u"4");

  // A shorter split leaves the later parts of a longer one alone.
  separate_command(table, u"x; y ,;,part", services);
  EXPECT_EQ(value(u"part_1"), u"x");
  EXPECT_EQ(value(u"part_2"), u" y ");  // parts are not trimmed
  EXPECT_EQ(value(u"part_3"), u"");
  EXPECT_EQ(value(u"part_4"), u"c");
  EXPECT_EQ(value(u"part_count"), u"2");
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, SeparateEdges) {
  const struct {
    const char16_t* parameters;
    const char16_t* result;
    std::vector<std::u16string> parts;
  } cases[] = {
      {u"  ,;,r", u"r", {}},                       // a blank source: only the count
      {u",;,r", u"r", {}},
      {u"a;b,,r", u"r", {}},                      // an empty delimiter
      {u"a;b;,;,r", u"r", {u"a", u"b", u""}},     // a trailing delimiter makes an empty part
      {u";,;,r", u"r", {u"", u""}},
      {u"a;b,;", u"", {u"a", u"b"}},              // no result name: `_1`, `_2`, `_count`
      {u"a--b---c,--,r", u"r", {u"a", u"b", u"-c"}},
      {u"aaa,aa,r", u"r", {u"", u""}},            // taken from the front: "aaaaa" gives two
      {u"abc,x,r", u"r", {u"abc"}},
      {u"a b,%space%,r", u"r", {u"a b"}},
      {u"a;b,;,r,s", u"r,s", {u"a", u"b"}},       // the result is all the rest
  };
  for (const auto& c : cases) {
    tVarArray fresh(nullptr, nullptr);
    fresh.create_fixed_slots();
    separate_command(fresh, c.parameters, services);
    const std::u16string stem = std::u16string(c.result) + u"_";
    EXPECT_EQ(fresh.value_of(stem + u"count")->str(), widen_ascii(std::to_string(c.parts.size())))
        << "case " << (&c - cases);
    for (std::size_t i = 0; i < c.parts.size(); ++i) {
      const auto part = fresh.value_of(stem + widen_ascii(std::to_string(i + 1)));
      ASSERT_TRUE(part) << "case " << (&c - cases);
      EXPECT_EQ(part->str(), c.parts[i]) << "case " << (&c - cases) << " part " << i + 1;
    }
    EXPECT_EQ(fresh.count(), static_cast<std::int32_t>(3 + c.parts.size() + 1)) << "case " << (&c - cases);
  }
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, SeparateExpandsTheRestAsAWholeFirst) {
  set(u"list", u"a,b,c");
  set(u"comma", u",");
  set(u"target", u"t");
  set(u"pieces", u";,q");
  // A comma from a variable splits the rest: here it leaves the delimiter empty.
  separate_command(table, u"%list%,%comma%,r", services);
  EXPECT_EQ(value(u",r_count"), u"0");
  // The result name can come from a variable.
  separate_command(table, u"x;y,;,%target%", services);
  EXPECT_EQ(value(u"t_1"), u"x");
  EXPECT_EQ(value(u"t_count"), u"2");
  // Delimiter and result from one variable.
  separate_command(table, u"1;2;3,%pieces%", services);
  EXPECT_EQ(value(u"q_count"), u"3");
  EXPECT_EQ(value(u"q_3"), u"3");
  EXPECT_TRUE(services.quiet());
}

TEST_F(StringCommandsTest, SeparateUnderIgnoreSpacesTrimsTheNames) {
  set(u"IGNORESPACES", u"1");
  separate_command(table, u" a;b , ; , r ", services);
  EXPECT_EQ(value(u"r_1"), u"a");
  EXPECT_EQ(value(u"r_2"), u"b");
  EXPECT_EQ(value(u"r_count"), u"2");
}

TEST(Substring, ClampsLikeTheLanguage) {
  EXPECT_EQ(substring(u"hello", 2, 3), u"ell");
  EXPECT_EQ(substring(u"hello", 0, 2), u"he");
  EXPECT_EQ(substring(u"hello", 5, 9), u"o");
  EXPECT_EQ(substring(u"hello", 6, 1), u"");
  EXPECT_EQ(substring(u"hello", 1, -1), u"");
  EXPECT_EQ(substring(u"", 1, 1), u"");
  EXPECT_EQ(substring(u"hello", INT64_MIN, INT64_MAX), u"hello");
}

// Through the command table, as a script reaches the commands.
class StringDispatchTest : public testing::ScriptLineTest {
 protected:
  StringDispatchTest() : ScriptLineTest(register_value_commands) {}
};

TEST_F(StringDispatchTest, ScriptLinesReachEveryCommand) {
  run_line(u"Let>s=hello world");
  run_line(u"ConCat>s,!");
  run_line(u"MidStr>%s%,7,5,word");
  run_line(u"Position>o,%s%,6,at");
  run_line(u"Length>%s%,n");
  run_line(u"StringReplace>%s%,o,0,r1");
  run_line(u"RPL>%s%,l,L,r2");
  run_line(u"Separate>%s%, ,w");
  EXPECT_EQ(value(u"s"), u"hello world!");
  EXPECT_EQ(value(u"word"), u"world");
  EXPECT_EQ(value(u"at"), u"8");
  EXPECT_EQ(value(u"n"), u"12");
  EXPECT_EQ(value(u"r1"), u"hell0 w0rld!");
  EXPECT_EQ(value(u"r2"), u"heLLo worLd!");
  EXPECT_EQ(value(u"w_1"), u"hello");
  EXPECT_EQ(value(u"w_2"), u"world!");
  EXPECT_EQ(value(u"w_count"), u"2");
  EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(StringDispatchTest, ErrorsAreRuntimeErrorReportsWithTheLineNumber) {
  platform.answers = {MessageButton::kOk};
  run_line(u"MID>,1,1,r", 3);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].text, u"Line: 3 Error in SubString Command.");
  EXPECT_EQ(platform.dialogs[0].kind, MessageKind::kInformation);
  EXPECT_EQ(platform.dialogs[0].buttons, MessageButtons::kOkAbort);
  EXPECT_FALSE(process.stop_requested);

  platform.answers = {MessageButton::kAbort};
  run_line(u"POS>x,abc,z,r", 4);
  ASSERT_EQ(platform.dialogs.size(), 2u);
  EXPECT_EQ(platform.dialogs[1].text, u"Line: 4 Error in Position Command.");
  EXPECT_TRUE(process.stop_requested);
  EXPECT_EQ(value(u"r"), u"<none>");

  AssignVariable(run.variables, u"IGNOREERRORS", u"1");
  run_line(u"MID>,1,1,r", 5);
  run_line(u"POS>x,abc,z,r", 6);
  EXPECT_EQ(platform.dialogs.size(), 2u);
}

}  // namespace
}  // namespace dorovev
