// Substitution of parameters.
#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "tests/support/allocation_counter.h"
#include "values/expand_text.h"

namespace dorovev {
namespace {

using testing::FakePlatform;

// A stand-in evaluator (a fake: the real one lives with the expressions) that knows a
// few fixed texts, and records what it was asked.
class FakeEvaluator : public ExpressionEvaluator {
 public:
  std::vector<std::u16string> asked;
  std::vector<std::int32_t> lines;
  std::optional<Text> evaluate(std::u16string_view expression, std::int32_t line) override {
    asked.emplace_back(expression);
    lines.push_back(line);
    if (expression == u"1+2") return Text(u"3");
    if (expression == u"5*2" || expression == u"\"ab\"+1") return Text(u"10");
    if (expression == u"3") return Text(u"3");
    return std::nullopt;
  }
};

class ExpandTextTest : public ::testing::Test {
 protected:
  ExpandTextTest() : table(&platform, &evaluator) { table.create_fixed_slots(); }
  std::u16string expand(std::u16string_view text, bool repeat = true) { return ExpandText(table, text, repeat).str(); }
  void set(std::u16string_view name, std::u16string_view value) { AssignVariable(table, name, value); }

  FakePlatform platform;
  FakeEvaluator evaluator;
  tVarArray table;
};

TEST_F(ExpandTextTest, PercentReferences) {
  set(u"x", u"5");
  struct Case {
    const char16_t* text;
    const char16_t* result;
  };
  const Case cases[] = {
      {u"%x%", u"5"}, {u"a%x%b", u"a5b"}, {u"%X%", u"5"}, {u"%x", u"%x"}, {u"50%", u"50%"},
      {u"%x%%x%", u"55"}, {u"%abc%", u"%abc%"}, {u"%x%b%", u"5b%"},  // pairs do not nest
      {u"100%x%", u"1005"}, {u"%", u"%"}, {u"%%", u"%%"}, {u"", u""}, {u"%x%,%x%", u"5,5"},
  };
  for (const Case& c : cases) EXPECT_EQ(expand(c.text), c.result) << std::u16string_view(c.text).size();
}

TEST_F(ExpandTextTest, WholeParameterNamesFollowImplicitLookup) {
  set(u"x", u"5");
  EXPECT_EQ(expand(u"x"), u"5");
  EXPECT_EQ(expand(u"X"), u"5");
  set(u"VAREXPLICIT", u"1");
  EXPECT_EQ(expand(u"x"), u"x");
  EXPECT_EQ(expand(u"%x%"), u"5");  // a reference is looked up all the same
}

TEST_F(ExpandTextTest, ANameWithASpaceIsNeverSubstituted) {
  set(u"my var", u"1");
  EXPECT_EQ(expand(u"%my var%"), u"%my var%");
  EXPECT_EQ(expand(u"my var"), u"my var");
}

TEST_F(ExpandTextTest, ChainsExpandAgainWhileImplicitLookupIsOn) {
  set(u"a", u"b");
  set(u"b", u"c");
  EXPECT_EQ(expand(u"%a%"), u"c");
  EXPECT_EQ(expand(u"a"), u"b");  // a whole parameter is not repeated
  EXPECT_EQ(expand(u"%a%", false), u"b");
  set(u"VAREXPLICIT", u"1");
  EXPECT_EQ(expand(u"%a%"), u"b");

  set(u"n", u"part_3");
  set(u"part_3", u"third");
  set(u"VAREXPLICIT", u"0");
  EXPECT_EQ(expand(u"%n%"), u"third");
  set(u"t", u"<%x%>");
  set(u"x", u"5");
  EXPECT_EQ(expand(u"%t%"), u"<5>");
}

TEST_F(ExpandTextTest, SelfReferencesAndCyclesStop) {
  set(u"x", u"%x%");
  EXPECT_EQ(expand(u"%x%"), u"%x%");
  set(u"p", u"%q%");
  set(u"q", u"%p%");
  // A ping-pong never contains its own input; the depth bound ends it on either side.
  const std::u16string ping = expand(u"%p%");
  EXPECT_TRUE(ping == u"%p%" || ping == u"%q%");

  // A growing cycle ends with the text reached, within the depth bound.
  set(u"a", u"%b%x");
  set(u"b", u"%a%y");
  const std::u16string grown = expand(u"%a%");
  EXPECT_GT(grown.size(), 10u);
  EXPECT_LT(grown.size(), 4u * kMaxExpansionDepth);
  EXPECT_TRUE(grown.ends_with(u"yxyx"));

  // A doubling cycle is stopped by the output bound long before memory runs out.
  set(u"d", u"%e%%e%%e%%e%%e%%e%%e%%e%");
  set(u"e", u"%d%%d%%d%%d%%d%%d%%d%%d%.");
  const std::u16string exploded = expand(u"%d%");
  EXPECT_LE(exploded.size(), kMinRepeatedExpansion);
  EXPECT_GT(exploded.size(), 1000u);
}

TEST_F(ExpandTextTest, LargeValuesStillExpandAgain) {
  // Beyond the minimum repetition budget, a value's own references are still resolved.
  const std::u16string big(2 * kMinRepeatedExpansion, u'a');
  set(u"x", u"5");
  set(u"v", big + u"%x%");
  const std::u16string result = expand(u"%v%");
  EXPECT_EQ(result.size(), big.size() + 1);
  EXPECT_TRUE(result.ends_with(u"a5"));
}

TEST_F(ExpandTextTest, CommandLineArgumentsActAsVariables) {
  platform.arguments = {u"/user=ann", u"/flag", u"/User=second", u"/x=arg"};
  tVarArray with_arguments(&platform, &evaluator);
  with_arguments.create_fixed_slots();
  AssignVariable(with_arguments, u"x", u"assigned");
  EXPECT_EQ(ExpandText(with_arguments, u"%user%"), u"ann");
  EXPECT_EQ(ExpandText(with_arguments, u"%USER%"), u"ann");  // names ignore ASCII case, the first wins
  EXPECT_EQ(ExpandText(with_arguments, u"user"), u"ann");
  EXPECT_EQ(ExpandText(with_arguments, u"%flag%"), u"%flag%");
  EXPECT_EQ(ExpandText(with_arguments, u"%x%"), u"assigned");  // a variable comes first
  AssignVariable(with_arguments, u"VAREXPLICIT", u"1");
  EXPECT_EQ(ExpandText(with_arguments, u"user"), u"ann");  // arguments do not depend on implicit lookup
}

TEST_F(ExpandTextTest, IgnoreSpacesTrimsNamesValuesAndText) {
  set(u"IGNORESPACES", u"1");
  set(u"x ", u" 5 ");
  EXPECT_EQ(table.value_of(u"x"), Text(u" 5 "));
  EXPECT_EQ(expand(u"  x  "), u"5");
  EXPECT_EQ(expand(u"%x%"), u"5");
  EXPECT_EQ(expand(u"[% x %]"), u"[5]");
  EXPECT_EQ(expand(u"  a b  "), u"a b");

  set(u"IGNORESPACES", u"0");
  set(u"y ", u"6");
  EXPECT_EQ(expand(u"%y%"), u"%y%");  // the name is Y followed by a space
  EXPECT_EQ(expand(u"%y %"), u"%y %");  // and a name with a space is never found
}

TEST_F(ExpandTextTest, BracedExpressionsGoToTheEvaluator) {
  table.set_line_number(7);
  EXPECT_EQ(expand(u"{1+2}"), u"3");
  EXPECT_EQ(evaluator.lines.back(), 7);
  EXPECT_EQ(expand(u"{nosuch}"), u"{nosuch}");  // no value: the braces stay
  set(u"n", u"5");
  set(u"s", u"ab");
  EXPECT_EQ(expand(u"{%n%*2}"), u"10");
  EXPECT_EQ(evaluator.asked.back(), u"5*2");
  EXPECT_EQ(expand(u"{%s%+1}"), u"10");
  EXPECT_EQ(evaluator.asked.back(), u"\"ab\"+1");
  EXPECT_EQ(expand(u"{{1+2}}"), u"3");  // the inside is expanded first
  EXPECT_EQ(expand(u"x{1+2}"), u"x{1+2}");
  EXPECT_EQ(expand(u"%{1+2}%"), u"3");
}

TEST_F(ExpandTextTest, WithoutAnEvaluatorBracesStay) {
  tVarArray plain(&platform);
  plain.create_fixed_slots();
  EXPECT_EQ(ExpandText(plain, u"{1+2}"), u"{1+2}");
}

TEST_F(ExpandTextTest, DeeplyNestedBracesDoNotExhaustTheStack) {
  const std::u16string nested = std::u16string(100000, u'{') + u"1+2" + std::u16string(100000, u'}');
  EXPECT_EQ(expand(nested), nested);
}

TEST_F(ExpandTextTest, AnEmptyTableChangesNothing) {
  tVarArray empty(&platform);
  EXPECT_EQ(ExpandText(empty, u"%x%"), u"%x%");
}

TEST_F(ExpandTextTest, ForExpressionsValuesBecomeLiterals) {
  set(u"num", u"12.5");
  set(u"neg", u"-3");
  set(u"word", u"abc");
  set(u"empty", u"");
  set(u"quoted", u"\"q\"");
  set(u"exp", u"E5");
  set(u"dot", u".");
  set(u"inner", u"say \"hi\"");
  set(u"comma", u"1,5");
  struct Case {
    const char16_t* text;
    const char16_t* result;
  };
  const Case cases[] = {
      {u"%num%+1", u"12.5+1"}, {u"%neg%", u"-3"}, {u"%word%", u"\"abc\""}, {u"%empty%", u"\"\""},
      {u"%quoted%", u"\"q\""}, {u"%exp%", u"\"E5\""}, {u"%dot%", u"\".\""},
      {u"%inner%", u"\"say \"hi\"\""},  // inner quotes are not doubled
      {u"%comma%", u"\"1,5\""}, {u"%unknown%", u"%unknown%"}, {u"50%", u"50%"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandForExpression(table, c.text), c.result);
}

TEST_F(ExpandTextTest, PassingValuesDoesNotCopyThem) {
  set(u"x", u"a value long enough to live on the heap");
  const Text plain(u"no reference here");
  const Text name_only(u"nosuchname");
  const Text reference(u"%x%");

  const std::size_t before = testing::allocation_count();
  const Text unchanged = ExpandText(table, plain);
  const Text not_found = ExpandText(table, name_only);
  const Text value = ExpandText(table, reference);
  EXPECT_EQ(testing::allocation_count(), before);
  EXPECT_TRUE(unchanged.shares_storage_with(plain));
  EXPECT_TRUE(not_found.shares_storage_with(name_only));
  EXPECT_TRUE(value.shares_storage_with(*table.value_of(u"x")));
}

// ExpandText and ExpandToView take short ways for a lone `%name%` and for texts without
// references; each case here is a shape where a short way must step aside.
TEST_F(ExpandTextTest, ShortWaysGiveWhatTheFullExpansionGives) {
  platform.arguments = {u"/arg=from argument", u"/plain=shadowed"};
  tVarArray with_arguments(&platform, &evaluator);
  with_arguments.create_fixed_slots();
  const std::pair<std::u16string_view, std::u16string_view> variables[] = {
      {u"n", u"5"},        {u"chain", u"n"},        {u"braced", u"{1+2}"},  {u"ref", u"%n%"},
      {u"%N%", u"whole"},  {u"self", u"self"},      {u"spaced", u" 7 "},    {u"toarg", u"arg"},
      {u"plain", u"var"},  {u"empty", u""},         {u"cycle", u"%cycle%"}, {u"blank", u"a b"},
  };
  for (const auto& [name, value] : variables) AssignVariable(with_arguments, name, value);
  const std::u16string_view texts[] = {u"%n%",    u"%chain%", u"%braced%", u"%ref%",    u"%self%", u"%spaced%",
                                       u"%toarg%", u"%plain%", u"%empty%",  u"%cycle%",  u"%blank%", u"% n %",
                                       u"5",       u"n",       u"plain",    u"  n  ",    u"{1+2}",  u"%missing%",
                                       u"%%",      u"%",       u"",         u"%n%%n%",   u"arg"};
  for (const bool trimming : {false, true}) {
    for (const bool implicit : {true, false}) {
      AssignVariable(with_arguments, u"IGNORESPACES", trimming ? u"1" : u"0");
      AssignVariable(with_arguments, u"VAREXPLICIT", implicit ? u"0" : u"1");
      for (const std::u16string_view text : texts) {
        SCOPED_TRACE(std::string(text.begin(), text.end()) + (trimming ? " trimming" : "") +
                     (implicit ? " implicit" : ""));
        const Text full = ExpandTextInFull(with_arguments, text);
        EXPECT_EQ(ExpandText(with_arguments, text), full);
        EXPECT_EQ(ExpandText(with_arguments, Text(text), false), ExpandTextInFull(with_arguments, text, false));
        Text holder;
        EXPECT_EQ(ExpandToView(with_arguments, text, holder), full.view());
      }
    }
  }
}

TEST_F(ExpandTextTest, AViewOfAnUnchangedTextAllocatesNothing) {
  set(u"n", u"5");
  Text holder;
  const std::u16string_view text = u"plain text";
  const std::size_t before = testing::allocation_count();
  EXPECT_EQ(ExpandToView(table, text, holder).data(), text.data());
  EXPECT_EQ(ExpandToView(table, u"%n%", holder), u"5");
  EXPECT_EQ(testing::allocation_count(), before);
  EXPECT_TRUE(holder.shares_storage_with(*table.value_of(u"n")));
}

}  // namespace
}  // namespace dorovev
