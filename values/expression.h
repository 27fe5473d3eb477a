// The evaluator of `{...}` expressions: a lexer and a recursive-descent parser that build
// a tree of typed nodes, and the readings of those nodes as text, number or truth value.
//
// Script variables never appear by name: callers put literals in place of `%name%`
// first. Every message is shown at once as a plain box, "Line: n " and the message,
// whatever IGNOREERRORS holds. A parse that fails gives no value; so does an evaluation
// that meets a fault it cannot go on from (an integer division by zero, the logarithm
// of a number that is not positive, a result beyond the range of its kind).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "values/command_services.h"
#include "values/text.h"
#include "values/variable_table.h"

namespace dorovev {

// Value kinds; the order matters for the conversion rules.
enum class ValueKind : std::uint8_t { kObject, kString, kFloat, kInteger, kEnumerated, kBoolean };

// Operators, in the order of their codes.
enum class Operator : std::uint8_t {
  opNot, opExp, opMult, opDivide, opDiv, opMod, opAnd, opShl, opShr, opPlus,
  opMinus, opOr, opXor, opEq, opNEq, opLT, opGT, opLTE, opGTE,
};

// The node classes of a parsed expression.
enum class NodeClass : std::uint8_t {
  TStringLiteral, TFloatLiteral, TIntegerLiteral, TBooleanLiteral, TUnaryOp, TBinaryOp, TRelationalOp,
  TTypeCast, TMathExpression, TStringExpression, TConditional,
};

// Deepest nesting of an expression: brackets and functions inside each other, or one
// operator chain whose tree grows with every operand.
inline constexpr int kMaxExpressionDepth = 256;

class Expressions final : public ExpressionEvaluator {
 public:
  // Messages go to `services` as plain boxes; Float values are written with its decimal
  // separator.
  explicit Expressions(CommandServices& services) : services_(services) {}

  // The expression's value as text, or nothing when it does not parse or its evaluation
  // fails.
  std::optional<Text> evaluate(std::u16string_view expression, std::int32_t line) override;
  // The expression's value as a truth value.
  std::optional<bool> evaluate_truth(std::u16string_view expression, std::int32_t line) override;

 private:
  struct Node {
    NodeClass node_class = NodeClass::TStringLiteral;
    ValueKind kind = ValueKind::kString;  // the result kind
    Operator op = Operator::opPlus;
    std::uint8_t function = 0;  // the number of a built-in, or the target kind of a cast
    ValueKind common = ValueKind::kString;  // operators: the kind the operands are read as
    std::int32_t left = -1;     // operands, or the first parameter
    std::int32_t right = -1;
    std::int32_t parameters = 0;  // functions: index of the first in parameter_list_
    std::int32_t count = 0;       // functions: number of parameters
    std::int32_t depth = 1;
    double real = 0;
    std::int64_t integer = 0;
    std::u16string_view text;  // a string literal

    static Node of(NodeClass node_class, ValueKind kind, Operator op = Operator::opPlus) {
      Node node;
      node.node_class = node_class;
      node.kind = kind;
      node.op = op;
      return node;
    }
  };

  // Parsing.
  bool parse(std::u16string_view expression);
  std::int32_t relation();
  std::int32_t sum();
  std::int32_t term();
  std::int32_t power();
  std::int32_t factor();
  std::int32_t number();
  std::int32_t hexadecimal();
  std::int32_t string_literal();
  std::int32_t identifier();
  std::int32_t binary(NodeClass node_class, Operator op, std::int32_t left, std::int32_t right);
  std::int32_t add(Node node);
  bool check_function(Node& node, std::u16string_view name);
  void skip_blanks();
  std::optional<Operator> peek_operator(bool words);
  std::optional<Operator> look_at_operator(bool words) const;
  std::optional<Operator> word_operator(std::size_t& length) const;
  void consume_operator(Operator op);

  // Readings.
  std::u16string read_string(std::int32_t node);
  double read_float(std::int32_t node);
  std::int64_t read_integer(std::int32_t node);
  bool read_boolean(std::int32_t node);
  std::u16string default_string(std::int32_t node);
  double default_float(std::int32_t node);
  std::int64_t default_integer(std::int32_t node);
  double checked(double value);
  bool compare(std::int32_t node);
  std::u16string string_function(const Node& node);
  double math_function(const Node& node);
  std::int64_t integer_function(const Node& node);
  std::int64_t integer_operation(const Node& node);
  double float_operation(const Node& node);

  void message(std::u16string_view text);
  void fail(std::u16string_view text);

  CommandServices& services_;
  std::int32_t line_ = 0;
  std::u16string_view source_;
  std::size_t at_ = 0;
  std::int32_t root_ = -1;
  std::size_t peeked_at_ = std::u16string_view::npos;  // where peek_operator last looked
  bool peeked_words_ = false;
  std::optional<Operator> peeked_;
  int depth_ = 0;
  bool failed_ = false;  // set by an evaluation fault that ends the evaluation
  std::vector<Node> nodes_;
  std::vector<std::int32_t> parameter_list_;
  std::vector<std::int32_t> argument_stack_;
  std::u16string literals_;  // string literals that held doubled quotes, unescaped
};

// The general number format with the user's decimal separator, as the evaluator writes
// a Float.
std::u16string float_text(double value, char16_t separator);

}  // namespace dorovev
