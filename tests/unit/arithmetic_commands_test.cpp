// `Add>` and `Sub>`: numbers in the two-decimal format, short dates, and the format message.
#include <gtest/gtest.h>

#include "tests/support/fake_command_services.h"
#include "values/arithmetic_commands.h"

namespace dorovev {
namespace {

using testing::FakeCommandServices;

class AddSubtractTest : public ::testing::Test {
 protected:
  AddSubtractTest() : table(nullptr, nullptr) { table.create_fixed_slots(); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(table, name, value); }
  std::u16string value(std::u16string_view name) const {
    const auto found = table.value_of(name);
    return found ? found->str() : u"<unset>";
  }

  FakeCommandServices services;
  tVarArray table;
};

using Command = void (*)(tVarArray&, std::u16string_view, CommandServices&);

struct ChangeCase {
  Command command;
  const char16_t* before;
  const char16_t* parameters;
  const char16_t* after;
};

TEST_F(AddSubtractTest, NumbersGetTwoDecimalsOnlyWithAFraction) {
  set(u"a", u"2.5");
  const ChangeCase cases[] = {
      {add_command, u"1.5", u"n,1", u"2.50"}, {add_command, u"2", u"n,1", u"3"}, {add_command, u"1", u"n,0.5", u"1.50"},
      {add_command, u"2", u"n,x", u"2"}, {add_command, u"2", u"n,", u"2"}, {add_command, u"2.5", u"n", u"2.50"},
      {add_command, u"1", u"%n%,1", u"2"}, {add_command, u"1", u"n,%a%", u"3.50"}, {add_command, u"1", u"n,a", u"3.50"},
      {add_command, u"0.1", u"n,0.2", u"0.30"}, {add_command, u" 7", u"n,1e2", u"107"},
      {add_command, u"0", u"n,0.125", u"0.13"},
      {add_command, u"-0.001", u"n,0", u"0.00"}, {add_command, u"1e20", u"n,1", u"100000000000000000000"},
      {subtract_command, u"5", u"n,1.25", u"3.75"}, {subtract_command, u"1", u"n,3", u"-2"},
      {subtract_command, u"0", u"n,0.125", u"-0.13"}, {subtract_command, u"3", u"%n%,x", u"3"},
  };
  for (const ChangeCase& c : cases) {
    set(u"n", c.before);
    c.command(table, c.parameters, services);
    EXPECT_EQ(value(u"n"), c.after) << "case " << (&c - cases);
  }
  EXPECT_TRUE(services.quiet());
}

TEST_F(AddSubtractTest, DatesMoveByWholeDaysInTheUsersFormat) {
  const struct {
    const char16_t* format;
    ChangeCase change;
  } cases[] = {
      {u"M/d/yyyy", {add_command, u"1/31/2009", u"d,1", u"2/1/2009"}},
      {u"M/d/yyyy", {subtract_command, u"3/1/2008", u"d,1", u"2/29/2008"}},
      {u"M/d/yyyy", {add_command, u"3/5/2009", u"d,0.5", u"3/5/2009"}},
      {u"M/d/yyyy", {subtract_command, u"3/5/2009", u"d,0.5", u"3/4/2009"}},
      {u"M/d/yyyy", {add_command, u"03/05/2009", u"d,x", u"3/5/2009"}},
      {u"M/d/yyyy", {subtract_command, u"1/15/2009", u"%d%,-365", u"1/15/2010"}},
      {u"dd.MM.yyyy", {add_command, u"31.12.2009", u"d,1", u"01.01.2010"}},
      {u"d/M/yy", {add_command, u"31/12/29", u"d,1", u"1/1/30"}},
      {u"yyyy-MM-dd", {add_command, u"2009-01-15", u"d,1e1", u"2009-01-25"}},
  };
  for (const auto& c : cases) {
    services.date_format = c.format;
    set(u"d", c.change.before);
    c.change.command(table, c.change.parameters, services);
    EXPECT_EQ(value(u"d"), c.change.after) << "case " << (&c - cases);
  }
  EXPECT_TRUE(services.quiet());
}

TEST_F(AddSubtractTest, NeitherNumberNorDateShowsAPlainMessageAndKeepsTheValue) {
  const struct {
    Command command;
    const char16_t* before;
    const char16_t* parameters;
    const char16_t* message;
  } cases[] = {
      {add_command, u"hello", u"d,1", u"Invalid Numeric or Date Format In \"Add>d,1\""},
      {subtract_command, u"hello", u"%d%,2", u"Invalid Numeric or Date Format In \"Sub>%d%,2\""},
      {add_command, u"1,5", u"d,1", u"Invalid Numeric or Date Format In \"Add>d,1\""},
      {add_command, u"12/31/9999", u"d,1", u"Invalid Numeric or Date Format In \"Add>d,1\""},
      {subtract_command, u"1/1/0001", u"d,1", u"Invalid Numeric or Date Format In \"Sub>d,1\""},
  };
  for (const auto& c : cases) {
    services.messages.clear();
    set(u"d", c.before);
    c.command(table, c.parameters, services);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, c.message);
    EXPECT_EQ(services.messages[0].kind, MessageKind::kPlain);
    EXPECT_EQ(value(u"d"), c.before);
  }
  EXPECT_TRUE(services.reports.empty());
}

TEST_F(AddSubtractTest, AnUnknownVariableIsNotCreated) {
  add_command(table, u"nosuch,1", services);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, u"Invalid Numeric or Date Format In \"Add>nosuch,1\"");
  EXPECT_EQ(value(u"nosuch"), u"<unset>");
}

TEST_F(AddSubtractTest, ASumBeyondTheRangeOfADoubleIsReportedAndKeepsTheValue) {
  set(u"n", u"1e308");
  add_command(table, u"n,1e308", services);
  subtract_command(table, u"n,-1e308", services);
  ASSERT_EQ(services.reports.size(), 2u);
  EXPECT_EQ(services.reports[0].message, u"Floating point overflow");
  EXPECT_EQ(services.reports[0].kind, MessageKind::kInformation);
  EXPECT_EQ(value(u"n"), u"1e308");
}

}  // namespace
}  // namespace dorovev
