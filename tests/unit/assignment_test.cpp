// `Let>`: plain values, two-operand arithmetic, the expression form and the special names.
#include <gtest/gtest.h>

#include "tests/support/fake_command_services.h"
#include "tests/support/scripted_evaluator.h"
#include "values/assignment.h"

namespace dorovev {
namespace {

using testing::FakeCommandServices;
using testing::ScriptedEvaluator;

class LetTest : public ::testing::Test {
 protected:
  LetTest() : table(nullptr, &evaluator) {
    table.create_fixed_slots();
    table.set_line_number(12);
    evaluator.answers = {{u"2+3*4", u"14"}, {u"1<2", u"TRUE"}, {u"4+1", u"5"}, {u"\"ab\"+1", u"ab1"},
                         {u"4", u"4"},      {u"0", u"0"},       {u"5", u"5"}};
    set(u"y", u"4");
    set(u"s", u"ab");
  }
  void let(std::u16string_view parameters) { let_command(table, parameters, services); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(table, name, value); }
  std::u16string value(std::u16string_view name) const {
    const auto found = table.value_of(name);
    return found ? found->str() : u"<unset>";
  }

  ScriptedEvaluator evaluator;
  FakeCommandServices services;
  tVarArray table;
};

struct LetCase {
  const char16_t* parameters;
  const char16_t* name;
  const char16_t* value;
};

TEST_F(LetTest, PlainTextAndTwoOperandArithmetic) {
  const LetCase cases[] = {
      {u"x=3+4", u"x", u"7"}, {u"x=10/4", u"x", u"2.5"}, {u"x=7-10", u"x", u"-3"}, {u"x=2*3", u"x", u"6"},
      {u"x=0.1+0.2", u"x", u"0.3"}, {u"x=1/3", u"x", u"0.333333333333333"}, {u"x=1e10*1e10", u"x", u"1E20"},
      {u"x=%y%*2", u"x", u"8"}, {u"x=y+1", u"x", u"5"}, {u"x=y", u"x", u"4"}, {u"x=hello", u"x", u"hello"},
      {u"x=", u"x", u""}, {u"x=a=b", u"x", u"a=b"},
      // Trailing spaces are no strict real, but the user's own number format allows them.
      {u"x= 3 + 4", u"x", u"7"},
      // Failed conversions keep the right-hand side as text.
      {u"x=-5", u"x", u"-5"}, {u"x=2009-01-15", u"x", u"2009-01-15"}, {u"x=1+2+3", u"x", u"1+2+3"},
      {u"x=5*-2", u"x", u"5*-2"}, {u"x=3+", u"x", u"3+"}, {u"x=%s%+1", u"x", u"ab+1"}, {u"x=2,5*2", u"x", u"2,5*2"},
      {u"x=1e300*1e300", u"x", u"1e300*1e300"}, {u"x=-1e300*1e300", u"x", u"-1e300*1e300"},
      // The operator is searched in the name too; one there leaves the left side empty.
      {u"a-b=5", u"a-b", u"5"}, {u"a+b=1+2", u"a+b", u"1+2"},
      // The preference is by operator, not by position.
      {u"x=1e-3+1", u"x", u"1.001"}, {u"x=2*1e-3", u"x", u"2*1e-3"}, {u"a/b=2*3", u"a/b", u"6"},
      {u"a*b=1-3", u"a*b", u"-2"},
  };
  for (const LetCase& c : cases) {
    let(c.parameters);
    EXPECT_EQ(value(c.name), c.value) << std::u16string_view(c.parameters).size();
  }
  EXPECT_TRUE(services.quiet());
}

TEST_F(LetTest, ANameWithPercentIsExpandedOnceWithoutRepeat) {
  set(u"v", u"target");
  let(u"%v%=1");
  EXPECT_EQ(value(u"target"), u"1");
  set(u"v", u"%w%");
  set(u"w", u"z");
  let(u"%v%=2");
  EXPECT_EQ(value(u"%w%"), u"2");
  EXPECT_EQ(value(u"z"), u"<unset>");
}

TEST_F(LetTest, APlainNameOnTheRightFollowsImplicitLookup) {
  set(u"b", u"5");
  let(u"a=b");
  EXPECT_EQ(value(u"a"), u"5");
  set(u"VAREXPLICIT", u"1");
  let(u"a=b");
  EXPECT_EQ(value(u"a"), u"b");
}

TEST_F(LetTest, ResultsAndLocalNumbersUseTheUsersSeparator) {
  services.separator = u',';
  const LetCase cases[] = {
      {u"x=10/4", u"x", u"2,5"}, {u"x=2,5*2", u"x", u"5"}, {u"x=1,5+1", u"x", u"2,5"}, {u"x=2.5*2", u"x", u"5"},
      {u"x=1.5,5+1", u"x", u"1.5,5+1"},
      // A division by zero of local numbers is a failed computation like any other.
      {u"x=1,5/0", u"x", u"1,5/0"},
  };
  for (const LetCase& c : cases) {
    let(c.parameters);
    EXPECT_EQ(value(c.name), c.value) << std::u16string_view(c.parameters).size();
  }
  EXPECT_TRUE(services.quiet());
}

TEST_F(LetTest, DivisionByZeroOfPlainNumbersIsReportedAndAssignsNothing) {
  set(u"x", u"9");
  for (const char16_t* parameters : {u"x=4/0", u"x=0/0", u"x=0.0/0", u"new=1/0"}) {
    services.reports.clear();
    let(parameters);
    ASSERT_EQ(services.reports.size(), 1u);
    EXPECT_EQ(services.reports[0].message, u"Floating point division by zero");
    EXPECT_EQ(services.reports[0].kind, MessageKind::kInformation);
    EXPECT_EQ(services.reports[0].buttons, MessageButtons::kOkAbort);
  }
  EXPECT_EQ(value(u"x"), u"9");
  EXPECT_EQ(value(u"new"), u"<unset>");
}

TEST_F(LetTest, AMissingEqualsSignIsAWarning) {
  const std::int32_t count = table.count();
  let(u"x 5");
  ASSERT_EQ(services.reports.size(), 1u);
  EXPECT_EQ(services.reports[0].message, u"Error with Let>x 5, = missing.");
  EXPECT_EQ(services.reports[0].kind, MessageKind::kWarning);
  EXPECT_EQ(services.reports[0].buttons, MessageButtons::kOkAbort);
  EXPECT_EQ(table.count(), count);
}

TEST_F(LetTest, TheExpressionFormAssignsTheValueAsText) {
  const LetCase cases[] = {
      {u"x={2+3*4}", u"x", u"14"}, {u"x={1<2}", u"x", u"TRUE"}, {u"x={%y%+1}", u"x", u"5"},
      {u"x={%s%+1}", u"x", u"ab1"}, {u"x={y}", u"x", u"4"},  {u"x={2+3*4}+1", u"x", u"{2+3*4}+1"},
  };
  for (const LetCase& c : cases) {
    let(c.parameters);
    EXPECT_EQ(value(c.name), c.value) << std::u16string_view(c.parameters).size();
  }
  EXPECT_EQ(evaluator.asked, (std::vector<std::u16string>{u"2+3*4", u"1<2", u"4+1", u"\"ab\"+1", u"4"}));
  EXPECT_EQ(evaluator.lines, std::vector<std::int32_t>(5, 12));
  EXPECT_TRUE(services.quiet());
}

TEST_F(LetTest, AnExpressionWithoutValueStopsTheRunAndAssignsNothing) {
  let(u"x={nosuch}");
  EXPECT_EQ(services.stop_requests, 1);
  EXPECT_EQ(value(u"x"), u"<unset>");
  table.set_evaluator(nullptr);
  let(u"x={1<2}");
  EXPECT_EQ(services.stop_requests, 2);
  EXPECT_EQ(value(u"x"), u"<unset>");
  EXPECT_TRUE(services.reports.empty());
}

TEST_F(LetTest, TrimmingAppliesToNameAndValueButNotInsideAnExpression) {
  let(u"x = 5");
  EXPECT_EQ(value(u"x "), u" 5");
  EXPECT_EQ(value(u"x"), u"<unset>");

  set(u"IGNORESPACES", u"1");
  let(u" x = 5 ");
  EXPECT_EQ(value(u"x"), u"5");
  let(u"x = {1<2} ");
  EXPECT_EQ(value(u"x"), u"TRUE");
  set(u"s", u" a ");
  evaluator.answers[u"\" a \""] = u"spaced";
  let(u"x={%s%}");
  EXPECT_EQ(evaluator.asked.back(), u"\" a \"");
  EXPECT_EQ(value(u"x"), u"spaced");
  EXPECT_EQ(value(u"IGNORESPACES"), u"1");
  // The flag comes back even when the expression itself assigned it.
  let(u"IGNORESPACES={0}");
  EXPECT_EQ(value(u"IGNORESPACES"), u"1");
  EXPECT_TRUE(table.trimming());
}

TEST_F(LetTest, RndSeedReseedsOnlyWhenWrittenExactlySo) {
  services.seed = 77;
  const struct {
    const char16_t* parameters;
    std::uint32_t seed;
  } cases[] = {
      {u"rnd_seed=5", 77}, {u"RND_SEED={5}", 77}, {u"RND_SEED=5", 5}, {u"RND_SEED=$10", 16}, {u"RND_SEED=%y%", 4},
      {u"RND_SEED=-1", 4294967295u}, {u"RND_SEED=abc", 0}, {u"RND_SEED=1/0", 0},
      // The seed reads the right-hand side itself, not the computed value.
      {u"RND_SEED=2+3", 0},
  };
  for (const auto& c : cases) {
    let(c.parameters);
    EXPECT_EQ(services.seed, c.seed) << std::u16string_view(c.parameters).size();
  }
  EXPECT_EQ(value(u"RND_SEED"), u"5");
}

TEST_F(LetTest, RndSeedWithABlankInTheNameIsOrdinaryEvenWhenTrimmed) {
  set(u"IGNORESPACES", u"1");
  let(u"RND_SEED =5");
  EXPECT_EQ(services.seed, 0u);
  EXPECT_EQ(value(u"RND_SEED"), u"5");
}

TEST_F(LetTest, AppTitleSetsTheTitle) {
  let(u"APP_TITLE=Run %y%");
  let(u"app_title=other");
  let(u"APP_TITLE={1<2}");
  EXPECT_EQ(services.titles, std::vector<std::u16string>{u"Run 4"});
  EXPECT_EQ(value(u"APP_TITLE"), u"TRUE");
}

}  // namespace
}  // namespace dorovev
