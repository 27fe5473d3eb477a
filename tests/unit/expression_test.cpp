// The expression evaluator: precedence, kinds, operators, built-ins and every message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_command_services.h"
#include "values/expression.h"

namespace dorovev {
namespace {

using testing::FakeCommandServices;

std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
  return out;
}

struct Case {
  const char16_t* expression;
  const char16_t* value;  // nullptr: the expression gives no value
  std::vector<std::u16string> messages = {};  // without their "Line: 7 " prefix
};

void check(const std::vector<Case>& cases, char16_t separator = u'.') {
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.expression));
    FakeCommandServices services;
    services.separator = separator;
    Expressions expressions(services);
    const std::optional<Text> value = expressions.evaluate(c.expression, 7);
    if (c.value) {
      ASSERT_TRUE(value.has_value());
      EXPECT_EQ(narrow(value->view()), narrow(c.value));
    } else {
      EXPECT_FALSE(value.has_value()) << narrow(value->view());
    }
    std::vector<std::u16string> shown;
    for (const auto& message : services.messages) {
      EXPECT_EQ(message.kind, MessageKind::kPlain);
      EXPECT_TRUE(message.text.starts_with(u"Line: 7 ")) << narrow(message.text);
      shown.push_back(message.text.substr(8));
    }
    std::vector<std::string> shown_narrow, expected_narrow;
    for (const auto& text : shown) shown_narrow.push_back(narrow(text));
    for (const auto& text : c.messages) expected_narrow.push_back(narrow(text));
    EXPECT_EQ(shown_narrow, expected_narrow);
    EXPECT_TRUE(services.reports.empty());
  }
}

TEST(Expressions, PrecedenceAndAssociativity) {
  check({
      {u"2+3*4", u"14"},
      {u"(2+3)*4", u"20"},
      {u"2^3^2", u"64"},
      {u"10-4-3", u"3"},
      {u"100/10/5", u"2"},
      {u"7 DIV 2", u"3"},
      {u"-7 MOD 2", u"-1"},
      {u"7/2", u"3.5"},
      {u"1+2=3", u"TRUE"},
      {u"1 < 2 = TRUE", u"TRUE"},
      {u"NOT 0", u"-1"},
      {u"- -5", u"5"},
      {u"+5", u"5"},
      {u"  ( 1 +\t2 ) ", u"3"},
      {u"2*(3+(4-1))", u"12"},
      {u"1 SHL 4 OR 1", u"17"},
      {u"6 AND 3 XOR 1", u"3"},
      {u"3 di 2", u"1"},  // a short word stands for the first operator it begins
      {u"7 mo 4", u"3"},
  });
}

TEST(Expressions, KindsMixAsTheRulesSay) {
  check({
      {u"\"ab\"+1", u"ab1"},
      {u"1+\"2\"", u"12"},
      {u"\"abc\"<\"abd\"", u"TRUE"},
      {u"\"B\"<\"a\"", u"TRUE"},  // by code unit: upper case first
      {u"TRUE AND FALSE", u"FALSE"},
      {u"TRUE OR FALSE", u"TRUE"},
      {u"TRUE XOR TRUE", u"FALSE"},
      {u"TRUE+1", u"2"},
      {u"TRUE+\"x\"", u"TRUEx"},
      {u"1.5+1", u"2.5"},
      {u"2=2.0", u"TRUE"},
      {u"\"10\"<\"9\"", u"TRUE"},
      {u"10<\"9\"", u"TRUE"},  // a String with anything compares as text
      {u"\"a\"\"b\"", u"a\"b"},
      {u"\"\"", u""},
      {u"$10+1", u"17"},
      {u"$FFFFFFFF", u"-1"},
      {u"$7fffffff+1", u"2147483648"},
      {u"1e3", u"1000"},
      {u"1.5E-5*1", u"1.5E-5"},
      {u"1E15", u"1E15"},
      {u"999999999999999.0", u"999999999999999"},
      {u"0.1+0.2", u"0.3"},
      {u"9223372036854775807+1", u"-9223372036854775808"},  // integers wrap
      {u"1 SHL 64", u"0"},
      {u"-1 SHR 60", u"15"},
      {u"(-9223372036854775807-1) DIV -1", u"-9223372036854775808"},
  });
}

TEST(Expressions, BuiltIns) {
  check({
      {u"ROUND(2.5)", u"2"},
      {u"ROUND(3.5)", u"4"},
      {u"ROUND(-2.5)", u"-2"},
      {u"TRUNC(-2.7)", u"-2"},
      {u"INT(-2.7)", u"-2"},
      {u"INT(2.7)+0.5", u"2.5"},  // INT is a Float
      {u"FRAC(2.75)", u"0.75"},
      {u"ABS(-3)", u"3"},
      {u"SQR(1.5)", u"2.25"},
      {u"SQRT(16)", u"4"},
      {u"LN(1)", u"0"},
      {u"EXP(0)", u"1"},
      {u"SIN(0)+COS(0)", u"1"},
      {u"ARCTAN(1)*4", u"3.14159265358979"},
      {u"PI", u"3.14159265358979"},
      {u"POWER(2,10)", u"1024"},
      {u"UPPER(\"aBc\u00e9\")", u"ABC\u00e9"},
      {u"LOWER(\"AbC\")", u"abc"},
      {u"COPY(\"hello\",2,3)", u"ell"},
      {u"COPY(\"hello\",0,2)", u"he"},
      {u"COPY(\"hello\",6,2)", u""},
      {u"COPY(\"hello\",2,-1)", u""},
      {u"COPY(\"hello\",4,99)", u"lo"},
      {u"POS(\"l\",\"hello\")", u"3"},
      {u"POS(\"z\",\"hello\")", u"0"},
      {u"POS(\"\",\"hello\")", u"0"},
      {u"LENGTH(\"hello\")", u"5"},
      {u"LENGTH(123)", u"3"},
      {u"IF(1<2,\"yes\",\"no\")", u"yes"},
      {u"IF(FALSE,1,2)+1", u"3"},
      {u"STRING(1.5)+\"!\"", u"1.5!"},
      {u"FLOAT(\" -2.5e1\")", u"-25"},
      {u"INTEGER(\"$FF\")+INTEGER(\"0x10\")", u"271"},
      {u"INTEGER(2.9)", u"2"},
      {u"BOOLEAN(\"true\")", u"TRUE"},
      {u"BOOLEAN(0.5)", u"TRUE"},
      {u"BOOLEAN(1E-31)", u"FALSE"},
      {u"BOOLEAN(0)", u"FALSE"},
      {u"round(2.6)", u"3"},  // names ignore case
  });
}

TEST(Expressions, ParseMessagesAndNoValue) {
  check({
      {u"1 2", nullptr, {u"2 not appropriate"}},
      {u"foo", nullptr, {u"Unknown Identifier FOO"}},
      {u"foo(1)", nullptr, {u"Unknown Identifier FOO"}},
      {u"1e+3", nullptr, {u"Bad numeric format", u"Error Parsing Expression"}},
      {u"1.2.3", nullptr, {u"Bad numeric format"}},
      {u"1e5e5", nullptr, {u"Bad numeric format"}},
      {u"12345678901234567890123456789", nullptr, {u"Bad numeric format", u"Error Parsing Expression"}},
      {u"99999999999999999999", nullptr, {u"Error Parsing Expression"}},
      {u"$", nullptr, {u"Invalid char in hex number"}},
      {u"$123456789", nullptr, {u"Invalid char in hex number"}},
      {u"\"abc", u"abc", {u"Unterminated string"}},
      {u"*2", nullptr, {u"opMult not allowed here"}},
      {u"1+", nullptr, {u"Unexpected end of factor"}},
      {u"", nullptr, {u"Unexpected end of factor"}},
      {u"()", nullptr, {u"Unexpected end of factor", u"invalid sub-expression"}},
      {u"(1", nullptr, {u" ) expected"}},
      {u"COPY(\"a\",1,1", nullptr, {u"Incorrectly formed parameters"}},
      {u"#", nullptr, {u"Syntax error"}},
      {u"1.5.x", nullptr, {u"Bad numeric format"}},
      {u"2.x", nullptr, {u"x not appropriate"}},
      {u"COPY(\"hello\",2.0,3)", nullptr, {u"Invalid parameters to COPY"}},
      {u"SQRT(\"x\")", nullptr, {u"Invalid parameters to SQRT"}},
      {u"POWER(2)", nullptr, {u"Invalid parameters to POWER"}},
      {u"STRING(1,2)", nullptr, {u"Invalid parameters to typecast"}},
      {u"ENUMERATED(1)", nullptr, {u"Cannot cast to enumerated"}},
      {u"OBJECT(1)", nullptr, {u"Type Integer is incompatible with type Object"}},
      {u"IF(1,2)", nullptr, {u"IF must have 3 parameters"}},
      {u"\"a\"-1", nullptr, {u"Operator opMinus incompatible with String"}},
      {u"-\"a\"", nullptr, {u"Operator opMinus incompatible with String"}},
      {u"1.5 DIV 2", nullptr, {u"Operator opDiv incompatible with Float"}},
      {u"NOT 1.5", nullptr, {u"Operator opNot incompatible with Float"}},
  });
}

TEST(Expressions, EvaluationMessagesGoOnOrStop) {
  check({
      {u"1/0", u"0", {u"Cannot divide by zero"}},
      {u"1.5/0+1", u"1", {u"Cannot divide by zero"}},
      {u"TRUE < FALSE", u"FALSE", {u"cannot apply opLT to boolean operands"}},
      {u"IF(1,\"a\",\"b\")", u"b", {u"First parameter to If must be Boolean", u"Cannot read Integer as boolean"}},
      {u"IF(TRUE,1,\"b\")", u"1", {u"IF options must be the same type"}},
      {u"FLOAT(\"abc\")", u"0", {u"Cannot convert abc to float"}},
      {u"INTEGER(\"1.5\")", u"0", {u"Cannot convert 1.5 to integer"}},
      {u"+\"a\"", nullptr, {u"Cannot read String as String"}},
      // Faults that leave no meaningful value end the expression.
      {u"7 DIV 0", nullptr, {u"Division by zero"}},
      {u"7 MOD 0", nullptr, {u"Division by zero"}},
      {u"LN(0)", nullptr, {u"Invalid floating point operation"}},
      {u"SQRT(-1)", nullptr, {u"Invalid floating point operation"}},
      {u"-2^2", nullptr, {u"Invalid floating point operation"}},
      {u"0^2", nullptr, {u"Invalid floating point operation"}},
      {u"ROUND(1E19)", nullptr, {u"Invalid floating point operation"}},
      {u"INTEGER(-1E30)", nullptr, {u"Invalid floating point operation"}},
      {u"EXP(1000)", nullptr, {u"Floating point overflow"}},
      {u"1E308*10", nullptr, {u"Floating point overflow"}},
      {u"BOOLEAN(\"yes\")", nullptr, {u"Cannot convert YES to Boolean"}},
      {u"1/0 + 7 DIV 0 + LN(0)", nullptr, {u"Cannot divide by zero", u"Division by zero"}},
  });
}

TEST(Expressions, FloatsUseTheUsersSeparator) {
  check({{u"7/2", u"3,5"}, {u"1.25", u"1,25"}, {u"\"x\"+0.5", u"x0,5"}}, u',');
}

TEST(Expressions, TruthValuesForConditions) {
  FakeCommandServices services;
  Expressions expressions(services);
  EXPECT_EQ(expressions.evaluate_truth(u"1<2", 3), true);
  EXPECT_EQ(expressions.evaluate_truth(u"\"a\"=\"b\"", 3), false);
  EXPECT_EQ(expressions.evaluate_truth(u"1+", 3), std::nullopt);
  EXPECT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(expressions.evaluate_truth(u"1", 3), false);  // an Integer is no truth value
  ASSERT_EQ(services.messages.size(), 2u);
  EXPECT_EQ(services.messages.back().text, u"Line: 3 Cannot read Integer as boolean");
}

TEST(Expressions, DeepNestingIsRefusedWithAMessage) {
  struct Deep {
    std::u16string expression;
    bool gives_value;
  };
  const auto repeat = [](std::u16string_view part, int times) {
    std::u16string text;
    for (int i = 0; i < times; ++i) text += part;
    return text;
  };
  const Deep cases[] = {
      {repeat(u"(", 100) + u"1" + repeat(u")", 100), true},
      {repeat(u"(", 100000) + u"1" + repeat(u")", 100000), false},
      {u"1" + repeat(u"+1", 200), true},
      {u"1" + repeat(u"+1", 100000), false},
      {repeat(u"-", 100000) + u"1", false},
      {repeat(u"ABS(", 50000) + u"1" + repeat(u")", 50000), false},
  };
  for (const Deep& c : cases) {
    FakeCommandServices services;
    Expressions expressions(services);
    EXPECT_EQ(expressions.evaluate(c.expression, 1).has_value(), c.gives_value) << c.expression.size();
    if (!c.gives_value) {
      ASSERT_FALSE(services.messages.empty());
      EXPECT_EQ(services.messages.front().text, u"Line: 1 Expression nested too deeply");
    }
  }
}

TEST(Expressions, OneEvaluatorServesManyExpressions) {
  FakeCommandServices services;
  Expressions expressions(services);
  EXPECT_EQ(expressions.evaluate(u"1+", 1), std::nullopt);
  EXPECT_EQ(expressions.evaluate(u"\"a\"\"b\"+\"c\"\"d\"", 2), Text(u"a\"bc\"d"));
  EXPECT_EQ(expressions.evaluate(u"7 DIV 0", 3), std::nullopt);
  EXPECT_EQ(expressions.evaluate(u"2*3", 4), Text(u"6"));  // a failure does not linger
  EXPECT_EQ(services.messages.size(), 2u);
}

}  // namespace
}  // namespace dorovev
