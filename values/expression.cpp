// The expression evaluator: lexer, parser, kind rules and the readings of the nodes.
//
// Nodes live in one array that is reused from one expression to the next, and string
// literals view the expression text, so evaluating an expression allocates little more
// than the text of its result.
#include "values/expression.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "values/ascii.h"
#include "values/number_format.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

constexpr std::int32_t kNoNode = -1;

constexpr std::array<std::u16string_view, 6> kKindNames = {u"Object",  u"String",     u"Float",
                                                            u"Integer", u"Enumerated", u"Boolean"};

constexpr std::array<std::u16string_view, 19> kOperatorNames = {
    u"opNot",   u"opExp", u"opMult", u"opDivide", u"opDiv", u"opMod", u"opAnd", u"opShl", u"opShr", u"opPlus",
    u"opMinus", u"opOr",  u"opXor",  u"opEq",     u"opNEq", u"opLT",  u"opGT",  u"opLTE", u"opGTE"};

// The word operators in the order a short word is matched against them.
struct WordOperator {
  std::u16string_view word;
  Operator op;
};
constexpr std::array<WordOperator, 8> kWordOperators = {{{u"NOT", Operator::opNot},
                                                         {u"DIV", Operator::opDiv},
                                                         {u"MOD", Operator::opMod},
                                                         {u"AND", Operator::opAnd},
                                                         {u"SHL", Operator::opShl},
                                                         {u"SHR", Operator::opShr},
                                                         {u"OR", Operator::opOr},
                                                         {u"XOR", Operator::opXor}}};

constexpr std::array<std::u16string_view, 6> kCasts = {u"OBJECT",  u"STRING",     u"FLOAT",
                                                       u"INTEGER", u"ENUMERATED", u"BOOLEAN"};
enum MathFunction : std::uint8_t { kTrunc, kRound, kAbs, kArcTan, kCos, kExp, kFrac, kInt, kLn, kPi, kSin, kSqr,
                                   kSqrt, kPower };
constexpr std::array<std::u16string_view, 14> kMathFunctions = {u"TRUNC", u"ROUND", u"ABS", u"ARCTAN", u"COS",
                                                                u"EXP",   u"FRAC",  u"INT", u"LN",     u"PI",
                                                                u"SIN",   u"SQR",   u"SQRT", u"POWER"};
enum TextFunction : std::uint8_t { kUpper, kLower, kCopy, kPos, kLength };
constexpr std::array<std::u16string_view, 5> kTextFunctions = {u"UPPER", u"LOWER", u"COPY", u"POS", u"LENGTH"};

std::u16string_view kind_name(ValueKind kind) { return kKindNames[static_cast<std::size_t>(kind)]; }
std::u16string_view operator_name(Operator op) { return kOperatorNames[static_cast<std::size_t>(op)]; }

// A text with its `%s` places filled in order.
std::u16string format(std::u16string_view pattern, std::u16string_view first, std::u16string_view second = {}) {
  std::u16string out;
  bool used_first = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's') {
      out += used_first ? second : first;
      used_first = true;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

bool can_read_as(ValueKind kind, ValueKind target) {
  return kind == target || (kind != ValueKind::kObject && target != ValueKind::kObject && kind >= target);
}

// The kind an operator gives for operands of a kind, if it applies to them at all.
std::optional<ValueKind> result_kind(Operator op, ValueKind kind) {
  using enum Operator;
  switch (kind) {
    case ValueKind::kString:
      if (op == opPlus) return ValueKind::kString;
      break;
    case ValueKind::kFloat:
      if (op == opExp || op == opMult || op == opDivide || op == opPlus || op == opMinus) return ValueKind::kFloat;
      break;
    case ValueKind::kInteger:
      if (op == opExp || op == opDivide) return ValueKind::kFloat;
      if (op == opNot || op == opMult || op == opDiv || op == opMod || op == opAnd || op == opShl || op == opShr ||
          op == opPlus || op == opMinus || op == opOr || op == opXor) {
        return ValueKind::kInteger;
      }
      break;
    case ValueKind::kBoolean:
      if (op == opNot || op == opAnd || op == opOr || op == opXor) return ValueKind::kBoolean;
      break;
    case ValueKind::kObject:
    case ValueKind::kEnumerated:
      break;
  }
  return std::nullopt;
}

bool is_relational(Operator op) { return op >= Operator::opEq; }

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_letter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool is_word_character(char16_t c) { return is_letter(c) || is_digit(c) || c == u'_'; }
bool is_blank(char16_t c) { return c >= 1 && c <= 0x20; }

std::u16string decimal_text(std::int64_t value) { return widen_ascii(std::to_string(value)); }

// x to the power y as the runtime has always computed it: e to the (ln x times y), in
// extended precision. Nothing for a base that is not positive.
std::optional<double> raise(double x, double y) {
  if (!(x > 0)) return std::nullopt;
  return static_cast<double>(std::exp(std::log(static_cast<long double>(x)) * static_cast<long double>(y)));
}

constexpr std::u16string_view kInvalidOperation = u"Invalid floating point operation";

}  // namespace

std::u16string float_text(double value, char16_t separator) { return format_general(value, separator); }

// ---------------------------------------------------------------------------------------
// Messages

void Expressions::message(std::u16string_view text) {
  if (failed_) return;  // the fault that ended the evaluation has been shown
  std::u16string shown = u"Line: " + decimal_text(line_) + u" ";
  shown += text;
  services_.show_message(shown, MessageKind::kPlain);
}

void Expressions::fail(std::u16string_view text) {
  message(text);
  failed_ = true;
}

// ---------------------------------------------------------------------------------------
// Entry points

std::optional<Text> Expressions::evaluate(std::u16string_view expression, std::int32_t line) {
  line_ = line;
  if (!parse(expression)) return std::nullopt;
  const std::u16string value = read_string(root_);
  if (failed_) return std::nullopt;
  return Text(value);
}

std::optional<bool> Expressions::evaluate_truth(std::u16string_view expression, std::int32_t line) {
  line_ = line;
  if (!parse(expression)) return std::nullopt;
  const bool value = read_boolean(root_);
  if (failed_) return std::nullopt;
  return value;
}

// ---------------------------------------------------------------------------------------
// Lexer

void Expressions::skip_blanks() {
  while (at_ < source_.size() && is_blank(source_[at_])) ++at_;
}

// A word of two or three characters stands for the first word operator it begins.
std::optional<Operator> Expressions::word_operator(std::size_t& length) const {
  std::size_t end = at_;
  while (end < source_.size() && end - at_ < 4 && is_word_character(source_[end])) ++end;
  length = end - at_;
  if (length != 2 && length != 3) return std::nullopt;
  for (const WordOperator& candidate : kWordOperators) {
    if (candidate.word.size() < length) continue;
    bool same = true;
    for (std::size_t i = 0; i < length && same; ++i) same = upper_ascii(source_[at_ + i]) == candidate.word[i];
    if (same) return candidate.op;
  }
  return std::nullopt;
}

// The operator at the current place, after blanks, without taking it.
std::optional<Operator> Expressions::peek_operator(bool words) {
  // Each level of the grammar looks at the same place once its inner level is done.
  skip_blanks();
  if (at_ == peeked_at_ && words == peeked_words_) return peeked_;
  peeked_ = look_at_operator(words);
  peeked_at_ = at_;
  peeked_words_ = words;
  return peeked_;
}

std::optional<Operator> Expressions::look_at_operator(bool words) const {
  using enum Operator;
  if (at_ >= source_.size()) return std::nullopt;
  const char16_t c = source_[at_];
  const char16_t next = at_ + 1 < source_.size() ? source_[at_ + 1] : u'\0';
  switch (c) {
    case u'*': return opMult;
    case u'+': return opPlus;
    case u'-': return opMinus;
    case u'/': return opDivide;
    case u'^': return opExp;
    case u'=': return opEq;
    case u'<': return next == u'=' ? opLTE : next == u'>' ? opNEq : opLT;
    case u'>': return next == u'=' ? opGTE : opGT;
    default: break;
  }
  if (!words || !is_letter(c)) return std::nullopt;
  // Word operators begin with A, D, M, N, O, S or X.
  constexpr std::uint32_t kFirstLetters = (1u << ('A' - 'A')) | (1u << ('D' - 'A')) | (1u << ('M' - 'A')) |
                                          (1u << ('N' - 'A')) | (1u << ('O' - 'A')) | (1u << ('S' - 'A')) |
                                          (1u << ('X' - 'A'));
  if ((kFirstLetters & (1u << (upper_ascii(c) - u'A'))) == 0) return std::nullopt;
  std::size_t length = 0;
  return word_operator(length);
}

void Expressions::consume_operator(Operator op) {
  using enum Operator;
  if (op == opLTE || op == opGTE || op == opNEq) {
    at_ += 2;
  } else if (is_letter(source_[at_])) {
    std::size_t length = 0;
    word_operator(length);
    at_ += length;
  } else {
    at_ += 1;
  }
}

// ---------------------------------------------------------------------------------------
// Parser

bool Expressions::parse(std::u16string_view expression) {
  source_ = expression;
  at_ = 0;
  depth_ = 0;
  failed_ = false;
  nodes_.clear();
  parameter_list_.clear();
  argument_stack_.clear();
  literals_.clear();
  literals_.reserve(expression.size());  // unescaped literals view it: it must not move
  peeked_at_ = std::u16string_view::npos;
  root_ = relation();
  if (root_ == kNoNode) return false;
  skip_blanks();
  if (at_ < source_.size()) {
    message(format(u"%s not appropriate", source_.substr(at_, 1)));
    return false;
  }
  return true;
}

std::int32_t Expressions::add(Node node) {
  if (node.depth > kMaxExpressionDepth) {
    message(u"Expression nested too deeply");
    return kNoNode;
  }
  nodes_.push_back(node);
  return static_cast<std::int32_t>(nodes_.size()) - 1;
}

std::int32_t Expressions::binary(NodeClass node_class, Operator op, std::int32_t left, std::int32_t right) {
  const Node& a = nodes_[static_cast<std::size_t>(left)];
  const Node& b = nodes_[static_cast<std::size_t>(right)];
  Node node = Node::of(node_class, ValueKind::kBoolean, op);
  if (a.kind != ValueKind::kObject && b.kind != ValueKind::kObject) {
    node.common = std::min(a.kind, b.kind);
  } else if (a.kind == b.kind) {
    node.common = a.kind;
  } else {
    message(format(u"Type %s is incompatible with type %s", kind_name(a.kind), kind_name(b.kind)));
    return kNoNode;
  }
  if (node_class == NodeClass::TBinaryOp) {
    const std::optional<ValueKind> kind = result_kind(op, node.common);
    if (!kind) {
      message(format(u"Operator %s incompatible with %s", operator_name(op), kind_name(node.common)));
      return kNoNode;
    }
    node.kind = *kind;
  }
  node.left = left;
  node.right = right;
  node.depth = std::max(a.depth, b.depth) + 1;
  return add(node);
}

std::int32_t Expressions::relation() {
  std::int32_t left = sum();
  while (left != kNoNode) {
    const std::optional<Operator> op = peek_operator(true);
    if (!op || !is_relational(*op)) break;
    consume_operator(*op);
    const std::int32_t right = sum();
    if (right == kNoNode) return kNoNode;
    left = binary(NodeClass::TRelationalOp, *op, left, right);
  }
  return left;
}

std::int32_t Expressions::sum() {
  using enum Operator;
  std::int32_t left = term();
  while (left != kNoNode) {
    const std::optional<Operator> op = peek_operator(true);
    if (!op || (*op != opPlus && *op != opMinus && *op != opOr && *op != opXor)) break;
    consume_operator(*op);
    const std::int32_t right = term();
    if (right == kNoNode) return kNoNode;
    left = binary(NodeClass::TBinaryOp, *op, left, right);
  }
  return left;
}

std::int32_t Expressions::term() {
  using enum Operator;
  std::int32_t left = power();
  while (left != kNoNode) {
    const std::optional<Operator> op = peek_operator(true);
    if (!op || (*op != opMult && *op != opDivide && *op != opDiv && *op != opMod && *op != opAnd && *op != opShl &&
                *op != opShr)) {
      break;
    }
    consume_operator(*op);
    const std::int32_t right = power();
    if (right == kNoNode) return kNoNode;
    left = binary(NodeClass::TBinaryOp, *op, left, right);
  }
  return left;
}

// No value can be an object, so a `.` after a factor ends the expression there.
std::int32_t Expressions::power() {
  std::int32_t left = factor();
  while (left != kNoNode) {
    const std::optional<Operator> op = peek_operator(true);
    if (op != Operator::opExp) break;
    consume_operator(*op);
    const std::int32_t right = factor();
    if (right == kNoNode) return kNoNode;
    left = binary(NodeClass::TBinaryOp, Operator::opExp, left, right);
  }
  return left;
}

std::int32_t Expressions::factor() {
  struct Nesting {
    int& depth;
    explicit Nesting(int& d) : depth(++d) {}
    ~Nesting() { --depth; }
  } nesting(depth_);
  if (depth_ > kMaxExpressionDepth) {
    message(u"Expression nested too deeply");
    return kNoNode;
  }
  skip_blanks();
  if (at_ >= source_.size() || source_[at_] == u')' || source_[at_] == u',') {
    message(u"Unexpected end of factor");
    return kNoNode;
  }
  if (const std::optional<Operator> op = peek_operator(true)) {
    if (*op != Operator::opNot && *op != Operator::opPlus && *op != Operator::opMinus) {
      message(format(u"%s not allowed here", operator_name(*op)));
      return kNoNode;
    }
    consume_operator(*op);
    const std::int32_t operand = factor();
    if (operand == kNoNode) return kNoNode;
    const Node& inner = nodes_[static_cast<std::size_t>(operand)];
    const std::optional<ValueKind> kind = result_kind(*op, inner.kind);
    if (!kind) {
      message(format(u"Operator %s incompatible with %s", operator_name(*op), kind_name(inner.kind)));
      return kNoNode;
    }
    Node node = Node::of(NodeClass::TUnaryOp, *kind, *op);
    node.left = operand;
    node.common = inner.kind;
    node.depth = inner.depth + 1;
    return add(node);
  }
  const char16_t c = source_[at_];
  if (is_digit(c)) return number();
  if (c == u'$') return hexadecimal();
  if (c == u'"') return string_literal();
  if (c == u'(') {
    ++at_;
    const std::int32_t inner = relation();
    if (inner == kNoNode) {
      message(u"invalid sub-expression");
      return kNoNode;
    }
    skip_blanks();
    if (at_ >= source_.size() || source_[at_] != u')') {
      message(u" ) expected");
      return kNoNode;
    }
    ++at_;
    return inner;
  }
  if (is_letter(c) || c == u'_') return identifier();
  message(u"Syntax error");
  return kNoNode;
}

std::int32_t Expressions::number() {
  const std::size_t start = at_;
  bool point = false;
  bool exponent = false;
  bool bad = false;
  while (at_ < source_.size()) {
    const char16_t c = source_[at_];
    if (is_digit(c)) {
      ++at_;
    } else if (c == u'.') {
      if (point || exponent) {
        bad = true;
        break;
      }
      point = true;
      ++at_;
    } else if (c == u'e' || c == u'E') {
      if (exponent) {
        bad = true;
        break;
      }
      exponent = true;
      ++at_;
      if (at_ < source_.size() && source_[at_] == u'-') ++at_;
      if (at_ >= source_.size() || !is_digit(source_[at_])) {
        bad = true;
        break;
      }
    } else {
      break;
    }
  }
  const std::u16string_view text = source_.substr(start, at_ - start);
  bad = bad || text.size() > 28;
  Node node = Node::of(NodeClass::TIntegerLiteral, ValueKind::kInteger);
  bool converted = false;
  if (!point && !exponent && text.size() <= 18) {
    // Up to 18 digits always fit.
    std::int64_t value = 0;
    for (char16_t digit : text) value = value * 10 + (digit - u'0');
    node.integer = value;
    converted = true;
  } else if (!point && !exponent) {
    if (const std::optional<std::int64_t> value = read_strict_integer64(text)) {
      node.integer = *value;
      converted = true;
    }
  } else if (const std::optional<double> value = read_strict_real(text)) {
    node = Node::of(NodeClass::TFloatLiteral, ValueKind::kFloat);
    node.real = *value;
    converted = true;
  }
  if (bad) message(u"Bad numeric format");
  if (!converted) message(u"Error Parsing Expression");
  if (bad || !converted) return kNoNode;
  return add(node);
}

// `$` and one to eight hexadecimal digits: a 32-bit value, sign-extended.
std::int32_t Expressions::hexadecimal() {
  ++at_;
  const std::size_t start = at_;
  std::uint32_t value = 0;
  while (at_ < source_.size() && hex_digit_value(source_[at_]) >= 0) {
    value = (value << 4) | static_cast<std::uint32_t>(hex_digit_value(source_[at_]));
    ++at_;
  }
  const std::size_t digits = at_ - start;
  if (digits == 0 || digits > 8) {
    message(u"Invalid char in hex number");
    return kNoNode;
  }
  Node node = Node::of(NodeClass::TIntegerLiteral, ValueKind::kInteger);
  node.integer = static_cast<std::int32_t>(value);
  return add(node);
}

// Text between double quotes; two double quotes inside stand for one. A literal that is
// not closed keeps what was read, after a message.
std::int32_t Expressions::string_literal() {
  ++at_;
  const std::size_t start = at_;
  bool doubled = false;
  std::size_t end = at_;
  for (;;) {
    const std::size_t quote = source_.find(u'"', end);
    if (quote == std::u16string_view::npos) {
      message(u"Unterminated string");
      end = source_.size();
      at_ = end;
      break;
    }
    if (quote + 1 < source_.size() && source_[quote + 1] == u'"') {
      doubled = true;
      end = quote + 2;
      continue;
    }
    end = quote;
    at_ = quote + 1;
    break;
  }
  Node node = Node::of(NodeClass::TStringLiteral, ValueKind::kString);
  std::u16string_view text = source_.substr(start, end - start);
  if (doubled) {
    const std::size_t offset = literals_.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
      literals_.push_back(text[i]);
      if (text[i] == u'"' && i + 1 < text.size() && text[i + 1] == u'"') ++i;
    }
    text = std::u16string_view(literals_).substr(offset);
  }
  node.text = text;
  return add(node);
}

std::int32_t Expressions::identifier() {
  const std::size_t start = at_;
  while (at_ < source_.size() && is_word_character(source_[at_])) ++at_;
  const std::u16string name = to_upper_ascii(source_.substr(start, at_ - start));
  if (name == u"TRUE" || name == u"FALSE") {
    Node node = Node::of(NodeClass::TBooleanLiteral, ValueKind::kBoolean);
    node.integer = name == u"TRUE";
    return add(node);
  }

  // The argument list, if any, is read before the name is looked up. Arguments wait on
  // a stack shared by the nested calls, which keeps its room from one expression to the
  // next.
  const std::size_t first_argument = argument_stack_.size();
  std::int32_t depth = 1;
  skip_blanks();
  if (at_ < source_.size() && source_[at_] == u'(') {
    ++at_;
    for (;;) {
      const std::int32_t argument = relation();
      if (argument == kNoNode) return kNoNode;
      argument_stack_.push_back(argument);
      depth = std::max(depth, nodes_[static_cast<std::size_t>(argument)].depth + 1);
      skip_blanks();
      if (at_ < source_.size() && source_[at_] == u',') {
        ++at_;
        continue;
      }
      break;
    }
    if (at_ >= source_.size() || source_[at_] != u')') {
      message(u"Incorrectly formed parameters");
      return kNoNode;
    }
    ++at_;
  }
  const auto arguments_begin = argument_stack_.begin() + static_cast<std::ptrdiff_t>(first_argument);
  const auto arguments_count = static_cast<std::int32_t>(argument_stack_.size() - first_argument);

  Node node = Node::of(NodeClass::TConditional, ValueKind::kString);
  const auto find_in = [&name](const auto& table) -> std::optional<std::uint8_t> {
    const auto found = std::find(table.begin(), table.end(), std::u16string_view(name));
    if (found == table.end()) return std::nullopt;
    return static_cast<std::uint8_t>(found - table.begin());
  };
  if (const auto cast = find_in(kCasts)) {
    node.node_class = NodeClass::TTypeCast;
    node.function = *cast;
  } else if (const auto math = find_in(kMathFunctions)) {
    node.node_class = NodeClass::TMathExpression;
    node.function = *math;
  } else if (const auto text = find_in(kTextFunctions)) {
    node.node_class = NodeClass::TStringExpression;
    node.function = *text;
  } else if (name != u"IF") {
    message(format(u"Unknown Identifier %s", name));
    return kNoNode;
  }
  node.parameters = static_cast<std::int32_t>(parameter_list_.size());
  node.count = arguments_count;
  parameter_list_.insert(parameter_list_.end(), arguments_begin, argument_stack_.end());
  argument_stack_.resize(first_argument);
  node.depth = depth;
  if (!check_function(node, name)) return kNoNode;
  return add(node);
}

// The parameter rules of the built-ins, and their kinds. A built-in whose parameters do
// not fit gives no node: reading it could only give meaningless values.
bool Expressions::check_function(Node& node, std::u16string_view name) {
  const auto kind_of = [&](std::int32_t i) {
    return nodes_[static_cast<std::size_t>(parameter_list_[static_cast<std::size_t>(node.parameters + i)])].kind;
  };
  const auto readable = [&](std::int32_t count, ValueKind kind) {
    if (node.count != count) return false;
    for (std::int32_t i = 0; i < count; ++i) {
      if (!can_read_as(kind_of(i), kind)) return false;
    }
    return true;
  };
  switch (node.node_class) {
    case NodeClass::TTypeCast: {
      const auto target = static_cast<ValueKind>(node.function);
      if (node.count != 1) {
        message(u"Invalid parameters to typecast");
        return false;
      }
      if (target == ValueKind::kEnumerated) {
        message(u"Cannot cast to enumerated");
        return false;
      }
      if (target == ValueKind::kObject && kind_of(0) != ValueKind::kObject) {
        message(format(u"Type %s is incompatible with type %s", kind_name(kind_of(0)), kind_name(target)));
        return false;
      }
      node.kind = target;
      return true;
    }
    case NodeClass::TMathExpression: {
      const bool fits = node.function == kPi      ? true
                        : node.function == kPower ? readable(2, ValueKind::kFloat)
                                                  : readable(1, ValueKind::kFloat);
      node.kind = node.function == kTrunc || node.function == kRound ? ValueKind::kInteger : ValueKind::kFloat;
      if (!fits) message(format(u"Invalid parameters to %s", name));
      return fits;
    }
    case NodeClass::TStringExpression: {
      bool fits = false;
      switch (node.function) {
        case kUpper:
        case kLower:
        case kLength: fits = readable(1, ValueKind::kString); break;
        case kPos: fits = readable(2, ValueKind::kString); break;
        case kCopy:
          fits = node.count == 3 && can_read_as(kind_of(0), ValueKind::kString) &&
                 kind_of(1) == ValueKind::kInteger && kind_of(2) == ValueKind::kInteger;
          break;
      }
      node.kind = node.function == kPos || node.function == kLength ? ValueKind::kInteger : ValueKind::kString;
      if (!fits) message(format(u"Invalid parameters to %s", name));
      return fits;
    }
    case NodeClass::TConditional: {
      // A condition that is no truth value, or options of two kinds, are read anyway,
      // after the message; a wrong number of parameters leaves nothing to read.
      if (node.count != 3) {
        message(u"IF must have 3 parameters");
        return false;
      }
      if (kind_of(0) != ValueKind::kBoolean) message(u"First parameter to If must be Boolean");
      if (kind_of(1) != kind_of(2)) message(u"IF options must be the same type");
      node.kind = kind_of(1);
      return true;
    }
    default: return true;
  }
}

// ---------------------------------------------------------------------------------------
// Readings

double Expressions::checked(double value) {
  if (std::isnan(value)) {
    fail(kInvalidOperation);
    return 0;
  }
  if (std::isinf(value)) {
    fail(u"Floating point overflow");
    return 0;
  }
  return value;
}

std::u16string Expressions::default_string(std::int32_t index) {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.kind) {
    case ValueKind::kFloat: {
      const double value = read_float(index);
      return failed_ ? std::u16string() : float_text(value, services_.decimal_separator());
    }
    case ValueKind::kInteger: return decimal_text(read_integer(index));
    case ValueKind::kBoolean: return read_boolean(index) ? u"TRUE" : u"FALSE";
    default: break;
  }
  // The one message that leaves the evaluation at once.
  fail(format(u"Cannot read %s as String", kind_name(node.kind)));
  return {};
}

double Expressions::default_float(std::int32_t index) {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.kind == ValueKind::kInteger || node.kind == ValueKind::kEnumerated) {
    return static_cast<double>(read_integer(index));
  }
  if (node.kind == ValueKind::kBoolean) return read_boolean(index) ? 1 : 0;
  message(format(u"Cannot read %s as Float", kind_name(node.kind)));
  return 0;
}

std::int64_t Expressions::default_integer(std::int32_t index) {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.kind == ValueKind::kBoolean) return read_boolean(index) ? 1 : 0;
  message(format(u"Cannot read %s as Integer", kind_name(node.kind)));
  return 0;
}

std::u16string Expressions::read_string(std::int32_t index) {
  if (failed_) return {};
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.node_class) {
    case NodeClass::TStringLiteral: return std::u16string(node.text);
    case NodeClass::TBinaryOp:
      if (node.kind == ValueKind::kString) return read_string(node.left) + read_string(node.right);
      break;
    case NodeClass::TRelationalOp: return compare(index) ? u"TRUE" : u"FALSE";
    case NodeClass::TTypeCast:
      if (node.function == static_cast<std::uint8_t>(ValueKind::kString)) {
        return read_string(parameter_list_[static_cast<std::size_t>(node.parameters)]);
      }
      break;
    case NodeClass::TStringExpression:
      if (node.kind == ValueKind::kString) return string_function(node);
      break;
    case NodeClass::TConditional: {
      const std::int32_t* parameters = &parameter_list_[static_cast<std::size_t>(node.parameters)];
      return read_boolean(parameters[0]) ? read_string(parameters[1]) : read_string(parameters[2]);
    }
    default: break;
  }
  return default_string(index);
}

double Expressions::read_float(std::int32_t index) {
  if (failed_) return 0;
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.node_class) {
    case NodeClass::TFloatLiteral: return node.real;
    case NodeClass::TUnaryOp:
      if (node.kind == ValueKind::kFloat) {
        const double value = read_float(node.left);
        return node.op == Operator::opMinus ? -value : value;
      }
      break;
    case NodeClass::TBinaryOp:
      if (node.kind == ValueKind::kFloat) return float_operation(node);
      break;
    case NodeClass::TRelationalOp: return compare(index) ? 1 : 0;
    case NodeClass::TTypeCast: {
      const std::int32_t operand = parameter_list_[static_cast<std::size_t>(node.parameters)];
      if (node.kind != ValueKind::kFloat) break;
      if (nodes_[static_cast<std::size_t>(operand)].kind != ValueKind::kString) return read_float(operand);
      const std::u16string text = read_string(operand);
      if (const std::optional<double> value = read_strict_real(text)) return *value;
      message(format(u"Cannot convert %s to float", text));
      return 0;
    }
    case NodeClass::TMathExpression:
      if (node.kind == ValueKind::kFloat) return math_function(node);
      break;
    case NodeClass::TConditional: {
      const std::int32_t* parameters = &parameter_list_[static_cast<std::size_t>(node.parameters)];
      return read_boolean(parameters[0]) ? read_float(parameters[1]) : read_float(parameters[2]);
    }
    default: break;
  }
  return default_float(index);
}

std::int64_t Expressions::read_integer(std::int32_t index) {
  if (failed_) return 0;
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.node_class) {
    case NodeClass::TIntegerLiteral: return node.integer;
    case NodeClass::TUnaryOp:
      if (node.kind == ValueKind::kInteger) {
        const auto value = static_cast<std::uint64_t>(read_integer(node.left));
        if (node.op == Operator::opMinus) return static_cast<std::int64_t>(0 - value);
        if (node.op == Operator::opNot) return static_cast<std::int64_t>(~value);
        return static_cast<std::int64_t>(value);
      }
      break;
    case NodeClass::TBinaryOp:
      if (node.kind == ValueKind::kInteger) return integer_operation(node);
      break;
    case NodeClass::TRelationalOp: return compare(index) ? 1 : 0;
    case NodeClass::TTypeCast: {
      if (node.kind != ValueKind::kInteger) break;
      const std::int32_t operand = parameter_list_[static_cast<std::size_t>(node.parameters)];
      const ValueKind kind = nodes_[static_cast<std::size_t>(operand)].kind;
      if (kind == ValueKind::kString) {
        const std::u16string text = read_string(operand);
        if (const std::optional<std::int64_t> value = read_strict_integer64(text)) return *value;
        message(format(u"Cannot convert %s to integer", text));
        return 0;
      }
      if (kind == ValueKind::kFloat) {
        const double value = std::trunc(read_float(operand));
        if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) {
          fail(kInvalidOperation);
          return 0;
        }
        return static_cast<std::int64_t>(value);
      }
      return read_integer(operand);
    }
    case NodeClass::TMathExpression:
      if (node.kind == ValueKind::kInteger) return integer_function(node);
      break;
    case NodeClass::TStringExpression:
      if (node.kind == ValueKind::kInteger) return integer_function(node);
      break;
    case NodeClass::TConditional: {
      const std::int32_t* parameters = &parameter_list_[static_cast<std::size_t>(node.parameters)];
      return read_boolean(parameters[0]) ? read_integer(parameters[1]) : read_integer(parameters[2]);
    }
    default: break;
  }
  return default_integer(index);
}

bool Expressions::read_boolean(std::int32_t index) {
  if (failed_) return false;
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.node_class) {
    case NodeClass::TBooleanLiteral: return node.integer != 0;
    case NodeClass::TUnaryOp:
      if (node.kind == ValueKind::kBoolean) return !read_boolean(node.left);
      break;
    case NodeClass::TBinaryOp:
      if (node.kind != ValueKind::kBoolean) break;
      if (node.op == Operator::opAnd) return read_boolean(node.left) && read_boolean(node.right);
      if (node.op == Operator::opOr) return read_boolean(node.left) || read_boolean(node.right);
      return read_boolean(node.left) != read_boolean(node.right);
    case NodeClass::TRelationalOp: return compare(index);
    case NodeClass::TTypeCast: {
      if (node.kind != ValueKind::kBoolean) break;
      const std::int32_t operand = parameter_list_[static_cast<std::size_t>(node.parameters)];
      switch (nodes_[static_cast<std::size_t>(operand)].kind) {
        case ValueKind::kString: {
          const std::u16string text = to_upper_ascii(read_string(operand));
          if (text == u"TRUE" || text == u"FALSE") return text == u"TRUE";
          fail(format(u"Cannot convert %s to Boolean", text));
          return false;
        }
        case ValueKind::kFloat: return std::fabs(read_float(operand)) > 1E-30;
        case ValueKind::kInteger: return read_integer(operand) != 0;
        default: return read_boolean(operand);
      }
    }
    case NodeClass::TConditional: {
      const std::int32_t* parameters = &parameter_list_[static_cast<std::size_t>(node.parameters)];
      return read_boolean(parameters[0]) ? read_boolean(parameters[1]) : read_boolean(parameters[2]);
    }
    default: break;
  }
  message(format(u"Cannot read %s as boolean", kind_name(node.kind)));
  return false;
}

bool Expressions::compare(std::int32_t index) {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  const auto relate = [&node](const auto& a, const auto& b) {
    switch (node.op) {
      case Operator::opEq: return a == b;
      case Operator::opNEq: return a != b;
      case Operator::opLT: return a < b;
      case Operator::opGT: return a > b;
      case Operator::opLTE: return a <= b;
      default: return a >= b;
    }
  };
  switch (node.common) {
    case ValueKind::kString: {
      const std::u16string a = read_string(node.left);
      return relate(a, read_string(node.right));
    }
    case ValueKind::kFloat: {
      const double a = read_float(node.left);
      return relate(a, read_float(node.right));
    }
    case ValueKind::kInteger: {
      const std::int64_t a = read_integer(node.left);
      return relate(a, read_integer(node.right));
    }
    case ValueKind::kBoolean: {
      if (node.op != Operator::opEq && node.op != Operator::opNEq) {
        message(format(u"cannot apply %s to boolean operands", operator_name(node.op)));
        return false;
      }
      const bool a = read_boolean(node.left);
      return relate(a, read_boolean(node.right));
    }
    default: return false;
  }
}

std::int64_t Expressions::integer_operation(const Node& node) {
  using enum Operator;
  const std::int64_t a = read_integer(node.left);
  const std::int64_t b = read_integer(node.right);
  const auto ua = static_cast<std::uint64_t>(a);
  const auto ub = static_cast<std::uint64_t>(b);
  switch (node.op) {
    case opPlus: return static_cast<std::int64_t>(ua + ub);
    case opMinus: return static_cast<std::int64_t>(ua - ub);
    case opMult: return static_cast<std::int64_t>(ua * ub);
    case opOr: return a | b;
    case opXor: return a ^ b;
    case opAnd: return a & b;
    case opDiv:
    case opMod:
      if (b == 0) {
        fail(u"Division by zero");
        return 0;
      }
      if (b == -1) return node.op == opDiv ? static_cast<std::int64_t>(0 - ua) : 0;  // wraps, as * does
      return node.op == opDiv ? a / b : a % b;
    case opShl:
    case opShr: {
      const unsigned count = static_cast<unsigned>(ub & 0xFF);
      if (count >= 64) return 0;
      return static_cast<std::int64_t>(node.op == opShl ? ua << count : ua >> count);
    }
    default: return 0;
  }
}

double Expressions::float_operation(const Node& node) {
  using enum Operator;
  const double a = read_float(node.left);
  const double b = read_float(node.right);
  if (failed_) return 0;
  switch (node.op) {
    case opPlus: return checked(a + b);
    case opMinus: return checked(a - b);
    case opMult: return checked(a * b);
    case opDivide:
      if (b == 0) {
        message(u"Cannot divide by zero");
        return 0;
      }
      return checked(a / b);
    case opExp: {
      const std::optional<double> value = raise(a, b);
      if (!value) {
        fail(kInvalidOperation);
        return 0;
      }
      return checked(*value);
    }
    default: return 0;
  }
}

double Expressions::math_function(const Node& node) {
  const std::int32_t* parameters = parameter_list_.data() + node.parameters;
  if (node.function == kPi) return 3.14159265358979323846;
  const double x = read_float(parameters[0]);
  if (failed_) return 0;
  switch (node.function) {
    case kAbs: return std::fabs(x);
    case kArcTan: return std::atan(x);
    case kCos: return checked(std::cos(x));
    case kExp: return checked(std::exp(x));
    case kFrac: return x - std::trunc(x);
    case kInt: return std::trunc(x);
    case kSin: return checked(std::sin(x));
    case kSqr: return checked(x * x);
    case kLn:
    case kSqrt:
      if (x < 0 || (node.function == kLn && x == 0)) {
        fail(kInvalidOperation);
        return 0;
      }
      return node.function == kLn ? std::log(x) : std::sqrt(x);
    case kPower: {
      const double y = read_float(parameters[1]);
      const std::optional<double> value = raise(x, y);
      if (!value) {
        fail(kInvalidOperation);
        return 0;
      }
      return checked(*value);
    }
    default: return 0;
  }
}

std::int64_t Expressions::integer_function(const Node& node) {
  const std::int32_t* parameters = parameter_list_.data() + node.parameters;
  if (node.node_class == NodeClass::TStringExpression) {
    if (node.function == kLength) return static_cast<std::int64_t>(read_string(parameters[0]).size());
    const std::u16string needle = read_string(parameters[0]);
    const std::u16string haystack = read_string(parameters[1]);
    if (needle.empty()) return 0;
    const std::size_t found = haystack.find(needle);
    return found == std::u16string::npos ? 0 : static_cast<std::int64_t>(found) + 1;
  }
  // TRUNC toward zero; ROUND to the nearest, halves to even.
  const double x = read_float(parameters[0]);
  if (failed_) return 0;
  const double whole = node.function == kTrunc ? std::trunc(x) : std::nearbyint(x);
  if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0)) {
    fail(kInvalidOperation);
    return 0;
  }
  return static_cast<std::int64_t>(whole);
}

std::u16string Expressions::string_function(const Node& node) {
  const std::int32_t* parameters = parameter_list_.data() + node.parameters;
  std::u16string text = read_string(parameters[0]);
  switch (node.function) {
    case kUpper:
      for (char16_t& c : text) c = upper_ascii(c);
      return text;
    case kLower:
      for (char16_t& c : text) c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
      return text;
    case kCopy: {
      const std::int64_t start = std::max<std::int64_t>(read_integer(parameters[1]), 1);
      const std::int64_t count = read_integer(parameters[2]);
      if (count < 0 || start > static_cast<std::int64_t>(text.size())) return {};
      return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
    }
    default: return {};
  }
}

}  // namespace dorovev
