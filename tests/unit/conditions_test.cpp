// `If>` conditions: comparisons, whole expressions, labels and the evaluate flag.
#include <gtest/gtest.h>

#include "tests/support/fake_command_services.h"
#include "tests/support/scripted_evaluator.h"
#include "values/conditions.h"

namespace dorovev {
namespace {

using testing::FakeCommandServices;
using testing::ScriptedEvaluator;

class IfTest : public ::testing::Test {
 protected:
  IfTest() : table(nullptr, &evaluator) {
    table.create_fixed_slots();
    table.set_line_number(7);
    evaluator.answers = {{u"1<2", u"TRUE"}, {u"1>2", u"FALSE"}, {u"2+3", u"5"}, {u"5=5", u"TRUE"},
                         {u"true", u"TRUE"}, {u"1", u"1"}};
    AssignVariable(table, u"x", u"5");
  }
  Condition check(std::u16string_view parameters, bool evaluate = true) {
    return evaluate_condition(table, parameters, evaluate, services);
  }

  ScriptedEvaluator evaluator;
  FakeCommandServices services;
  tVarArray table;
};

struct IfCase {
  const char16_t* parameters;
  bool truth;
  const char16_t* true_label;
  const char16_t* false_label;
};

void expect_condition(const Condition& condition, const IfCase& c) {
  const std::u16string_view parameters(c.parameters);
  EXPECT_EQ(condition.truth, c.truth) << parameters.size();
  EXPECT_EQ(condition.true_label, c.true_label) << parameters.size();
  EXPECT_EQ(condition.false_label, c.false_label) << parameters.size();
}

TEST_F(IfTest, ComparesNumbersAsNumbersAndEverythingElseAsText) {
  const IfCase cases[] = {
      {u"%x%=5,L1,L2", true, u"L1", u"L2"}, {u"%x%=5.0,L1,L2", true, u"L1", u"L2"},
      {u"%x%=6,L1,L2", false, u"L1", u"L2"}, {u"%x%<>5,A", false, u"A", u""}, {u"%x%<>6,A", true, u"A", u""},
      {u"%x%>4,A,B", true, u"A", u"B"}, {u"%x%<4,A,B", false, u"A", u"B"},
      {u"10<9,A", false, u"A", u""}, {u"10>9,A", true, u"A", u""}, {u"-1<1e-3,A", true, u"A", u""},
      {u"abc<abd,L", true, u"L", u""}, {u"B<a,L", true, u"L", u""}, {u"a<B,L", false, u"L", u""},
      {u"abc=ABC,L", false, u"L", u""}, {u"10<9x,A", true, u"A", u""}, {u"=,A", true, u"A", u""},
      // `>=` and `<=` are no operators: the first `=` is.
      {u"%x%>=5,A", false, u"A", u""}, {u"%x%<=5,A", false, u"A", u""}, {u"5>=5>,A", true, u"A", u""},
      // Whole parameters follow implicit lookup.
      {u"x=5,A", true, u"A", u""},
  };
  for (const IfCase& c : cases) expect_condition(check(c.parameters), c);
  EXPECT_TRUE(services.quiet());
}

TEST_F(IfTest, ATrailingSpaceMakesATextComparison) {
  AssignVariable(table, u"x", u"5 ");
  EXPECT_FALSE(check(u"%x%=5,L1,L2").truth);
}

TEST_F(IfTest, LabelsAreSplitAtTheFirstCommaAndKeptAsWritten) {
  const IfCase cases[] = {
      {u"%x%=5", true, u"", u""}, {u"1=1,,B", true, u"", u"B"}, {u"1=1,A,B,C", true, u"A", u"B,C"},
      {u"1=1, A , B ", true, u" A ", u" B "}, {u"1=1,%x%", true, u"%x%", u""},
      // A comma before the operator leaves the right side empty and starts the labels.
      {u"a,b=c", false, u"b=c", u""},
  };
  for (const IfCase& c : cases) expect_condition(check(c.parameters), c);
}

TEST_F(IfTest, ABracedRightSideIsEvaluatedAndEndsAtItsBrace) {
  const IfCase cases[] = {
      {u"%x%={2+3},Yes,No", true, u"Yes", u"No"}, {u"%x%={2+3}", true, u"", u""},
      {u"4<{2+3},Yes", true, u"Yes", u""}, {u"%x%={nosuch},Yes", false, u"Yes", u""},
  };
  for (const IfCase& c : cases) expect_condition(check(c.parameters), c);
  EXPECT_EQ(evaluator.lines, std::vector<std::int32_t>(4, 7));
}

TEST_F(IfTest, AWholeExpressionGivesItsTruth) {
  const IfCase cases[] = {
      {u"{1<2},Yes,No", true, u"Yes", u"No"}, {u"{1>2},Yes", false, u"Yes", u""}, {u"{1<2}", true, u"", u""},
      {u"{%x%=5},A", true, u"A", u""}, {u"{true},L1,L2", true, u"L1", u"L2"}, {u"{1},A", false, u"A", u""},
      // The one character after the brace is skipped, whatever it is.
      {u"{1<2}x,A", true, u"", u"A"},
  };
  for (const IfCase& c : cases) expect_condition(check(c.parameters), c);
  EXPECT_EQ(evaluator.asked, (std::vector<std::u16string>{u"1<2", u"1>2", u"1<2", u"5=5", u"true", u"1", u"1<2"}));
  EXPECT_TRUE(services.quiet());
}

TEST_F(IfTest, AnExpressionWithoutValueStopsTheRunAndIsFalse) {
  expect_condition(check(u"{nosuch},A,B"), {u"", false, u"", u""});
  EXPECT_EQ(services.stop_requests, 1);
  table.set_evaluator(nullptr);
  expect_condition(check(u"{1<2},A,B"), {u"", false, u"", u""});
  EXPECT_EQ(services.stop_requests, 2);
}

TEST_F(IfTest, AMissingOperatorIsAWarningOnlyWhenEvaluating) {
  expect_condition(check(u"abc,L1,L2"), {u"", false, u"", u""});
  ASSERT_EQ(services.reports.size(), 1u);
  EXPECT_EQ(services.reports[0].message, u"Missing =,<,> or <> in If Statement.");
  EXPECT_EQ(services.reports[0].kind, MessageKind::kWarning);
  EXPECT_EQ(services.reports[0].buttons, MessageButtons::kOkAbort);
  expect_condition(check(u"abc,L1,L2", false), {u"", false, u"", u""});
  EXPECT_EQ(services.reports.size(), 1u);
}

TEST_F(IfTest, WithoutEvaluatingOnlyTheLabelsMatter) {
  expect_condition(check(u"{nosuch},A,B", false), {u"", false, u"A", u"B"});
  EXPECT_TRUE(evaluator.asked.empty());
  EXPECT_TRUE(services.quiet());
  // The operands of a comparison are still expanded, braced ones included.
  const Condition condition = check(u"a={2+3},L1,L2", false);
  EXPECT_EQ(condition.true_label, u"L1");
  EXPECT_EQ(condition.false_label, u"L2");
  EXPECT_EQ(evaluator.asked, std::vector<std::u16string>{u"2+3"});
}

}  // namespace
}  // namespace dorovev
