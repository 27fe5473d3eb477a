// The variable table: fixed slots, assignment and the name search.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_platform.h"
#include "values/variable_table.h"

namespace dorovev {
namespace {

using testing::FakePlatform;

class VariableTableTest : public ::testing::Test {
 protected:
  VariableTableTest() : table(&platform) { table.create_fixed_slots(); }
  FakePlatform platform;
  tVarArray table;
};

TEST_F(VariableTableTest, FixedSlotsComeFirstAndHoldZero) {
  ASSERT_EQ(table.count(), 3);
  EXPECT_EQ(table.entry(0).Name, u"_LINE_NUM");
  EXPECT_EQ(table.entry(1).Name, u"VAREXPLICIT");
  EXPECT_EQ(table.entry(2).Name, u"IGNORESPACES");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(table.entry(i).Value, u"0");
  EXPECT_TRUE(table.implicit_lookup());
  EXPECT_FALSE(table.trimming());
  table.set_line_number(12);
  EXPECT_EQ(table.entry(0).Value, u"12");
  EXPECT_EQ(table.line_number(), 12);
}

TEST_F(VariableTableTest, FlagsAreOnOnlyForTheirExactText) {
  const std::pair<const char16_t*, bool> implicit[] = {{u"0", true}, {u"1", false}, {u"00", false}, {u" 0", false}};
  for (auto [value, on] : implicit) {
    AssignVariable(table, u"VAREXPLICIT", value);
    EXPECT_EQ(table.implicit_lookup(), on);
  }
  const std::pair<const char16_t*, bool> trimming[] = {{u"1", true}, {u"0", false}, {u"TRUE", false}, {u"1 ", false}};
  for (auto [value, on] : trimming) {
    AssignVariable(table, u"ignorespaces", value);
    EXPECT_EQ(table.trimming(), on);
  }
}

TEST_F(VariableTableTest, AssignCreatesOnceAndOverwritesIgnoringAsciiCase) {
  AssignVariable(table, u"Total", u"1");
  AssignVariable(table, u"TOTAL", u"2");
  AssignVariable(table, u"total", u"3");
  EXPECT_EQ(table.count(), 4);
  EXPECT_EQ(table.entry(3).Name, u"TOTAL");
  EXPECT_EQ(table.entry(3).Value, u"3");
  // Only a to z fold: accented letters must match exactly.
  AssignVariable(table, u"\u00e9t\u00e9", u"summer");
  AssignVariable(table, u"\u00c9T\u00c9", u"other");
  EXPECT_EQ(table.count(), 6);
  EXPECT_EQ(table.value_of(u"\u00e9T\u00e9"), Text(u"summer"));
}

TEST_F(VariableTableTest, RecordsTheTickOfTheLastAssignment) {
  platform.ticks = 500;
  AssignVariable(table, u"a", u"1");
  platform.ticks = 900;
  AssignVariable(table, u"a", u"2");
  EXPECT_EQ(table.entry(3).LastSet, 900u);
}

TEST_F(VariableTableTest, TrimmingAppliesToNamesWhenOn) {
  AssignVariable(table, u"x ", u"5");
  EXPECT_EQ(table.entry(3).Name, u"X ");
  AssignVariable(table, u"IGNORESPACES", u"1");
  AssignVariable(table, u" \ty \r", u" 6 ");
  EXPECT_EQ(table.entry(4).Name, u"Y");
  EXPECT_EQ(table.entry(4).Value, u" 6 ");  // values are stored as given
}

TEST_F(VariableTableTest, IndexStaysSortedAndFindsEveryName) {
  const char16_t* names[] = {u"zeta", u"Alpha", u"_under", u"a_b", u"ab", u"a", u"", u"~", u"b1", u"B0", u"\u00c4"};
  for (const char16_t* name : names) AssignVariable(table, name, name);
  const auto& items = table.name_index().items;
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const tMySL::Item& a, const tMySL::Item& b) {
    return a.name.view() < b.name.view();
  }));
  for (const char16_t* name : names) {
    const FoundVariable found = FindVariable(table, name);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(table.entry(items[found.position].data.index).Value, name);
  }
  const FoundVariable missing = FindVariable(table, u"b");
  EXPECT_FALSE(missing.found);
  EXPECT_EQ(items[missing.position].name, u"B0");  // the insertion point
}

TEST(CommandLineVariables, OnlySlashNameEqualsValueDefinesOne) {
  const std::vector<std::u16string> arguments = {u"/user=ann", u"/flag", u"plain=1", u"/a=b=c", u"/=x", u"-HIDE"};
  const auto variables = parse_command_line_variables(arguments);
  ASSERT_EQ(variables.size(), 3u);
  EXPECT_EQ(variables[0].name, u"user");
  EXPECT_EQ(variables[0].value, u"ann");
  EXPECT_EQ(variables[1].name, u"a");
  EXPECT_EQ(variables[1].value, u"b=c");
  EXPECT_EQ(variables[2].name, u"");
}

}  // namespace
}  // namespace dorovev
