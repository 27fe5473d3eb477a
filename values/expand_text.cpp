// Substitution of `%name%` references, whole-text names, command-line arguments and
// braced expressions.
//
// The algorithm is specified step by step, and its quirks are relied on by scripts:
// an unknown reference stays as written, `%` pairs do not nest, a changed result is
// expanded again. Where the rules "force" a flag for an inner step (implicit lookup
// while a `%name%` is resolved, trimming off for a repeated expansion) the flags travel
// down the recursion as arguments instead of being written into the table, which keeps
// the table untouched by reading. Every result that equals a stored value shares that
// value's storage.
#include "values/expand_text.h"

#include <algorithm>
#include <string>
#include <vector>

#include "values/ascii.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

struct Flags {
  bool implicit;
  bool trim;
};

// Shared by all the recursion of one ExpandText call. A first expansion is bounded by
// the text and the values the script made; it is the repetitions that can run away.
struct Budget {
  int depth = 0;
  std::size_t repeated_output = 0;  // code units produced by repetitions so far
  std::size_t allowance = 0;        // how many they may produce in all
  bool exhausted() const { return depth >= kMaxExpansionDepth; }
};

constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

// Keeps the depth of one recursion level.
class DepthGuard {
 public:
  explicit DepthGuard(Budget& budget) : budget_(budget) { ++budget_.depth; }
  ~DepthGuard() { --budget_.depth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  Budget& budget_;
};

// The text being expanded: a stored Text, or a view of a parameter that becomes a Text
// only when the result is that text itself, so that resolving a parameter whose value is
// a stored variable allocates nothing.
class Input {
 public:
  explicit Input(const Text& text) noexcept : view_(text.view()), text_(&text) {}
  explicit Input(std::u16string_view view) noexcept : view_(view) {}

  std::u16string_view view() const noexcept { return view_; }
  // Trimming only removes from the ends, so an unchanged size means the same text.
  Text text() const { return text_ && text_->size() == view_.size() ? *text_ : Text(view_); }
  Input trimmed() const noexcept {
    Input copy = *this;
    copy.view_ = trim(view_);
    return copy;
  }

 private:
  std::u16string_view view_;
  const Text* text_ = nullptr;
};

Text expand(const tVarArray& table, Input input, bool repeat, Flags flags, Budget& budget,
            bool repetition = false);
Text expand_for_expression(const tVarArray& table, std::u16string_view text, Flags flags, Budget& budget);

Text trimmed(const Text& text) { return Input(text).trimmed().text(); }

// Whether needle occurs in haystack, in time linear in both (Knuth-Morris-Pratt): the
// repeat test compares texts that a runaway expansion makes very long and repetitive,
// where a naive search would take quadratic time.
bool occurs_in(std::u16string_view haystack, std::u16string_view needle) {
  if (needle.size() <= 16 || haystack.size() <= 4096) return haystack.find(needle) != std::u16string_view::npos;
  std::vector<std::size_t> border(needle.size(), 0);
  for (std::size_t i = 1, k = 0; i < needle.size(); ++i) {
    while (k > 0 && needle[i] != needle[k]) k = border[k - 1];
    if (needle[i] == needle[k]) ++k;
    border[i] = k;
  }
  for (std::size_t i = 0, k = 0; i < haystack.size(); ++i) {
    while (k > 0 && haystack[i] != needle[k]) k = border[k - 1];
    if (haystack[i] == needle[k] && ++k == needle.size()) return true;
  }
  return false;
}

bool is_braced(std::u16string_view text) {
  return !text.empty() && text.front() == u'{' && text.back() == u'}';
}

// A braced text: its inside is expanded and handed to the evaluator. Nothing when the
// evaluator gives no value (it has shown its own message).
std::optional<Text> evaluate_braced(const tVarArray& table, std::u16string_view text, Flags flags,
                                    Budget& budget) {
  ExpressionEvaluator* evaluator = table.evaluator();
  if (!evaluator || budget.exhausted()) return std::nullopt;
  const std::u16string_view inside = text.substr(1, text.size() - 2);
  const Text expanded = inside.find(u'%') == std::u16string_view::npos
                            ? expand(table, Input(inside), true, flags, budget)
                            : expand_for_expression(table, inside, flags, budget);
  return evaluator->evaluate(expanded.view(), table.line_number());
}

// A whole text read as a variable name, then as a command-line argument name.
std::optional<Text> look_up(const tVarArray& table, std::u16string_view text, Flags flags) {
  if (flags.implicit && text.find(u' ') == std::u16string_view::npos) {
    const std::int32_t index = table.find_entry(text);
    if (index >= 0) {
      const Text& value = table.entry(index).Value;
      return flags.trim ? trimmed(value) : value;
    }
  }
  for (const CommandLineVariable& argument : table.command_line_variables()) {
    if (equals_ignoring_ascii_case(argument.name, text)) return argument.value;
  }
  return std::nullopt;
}

// The text between two `%`, resolved with implicit lookup forced on. Nothing when the
// resolution gives the name back unchanged.
std::optional<Text> resolve_reference(const tVarArray& table, std::u16string_view name, Flags flags,
                                      Budget& budget) {
  flags.implicit = true;
  const std::u16string_view text = flags.trim ? trim(name) : name;
  std::optional<Text> resolved;
  if (is_braced(text)) resolved = evaluate_braced(table, text, flags, budget);
  if (!resolved) resolved = look_up(table, text, flags);
  if (!resolved) {
    if (text.size() == name.size()) return std::nullopt;
    resolved = Text(text);
  }
  if (resolved->view() == name) return std::nullopt;
  return resolved;
}

// How a resolved value is written into an expression.
void append_as_literal(std::u16string& out, std::u16string_view value) {
  const bool number = !value.empty() && value.front() != u'E' && value.front() != u'e' && value != u"." &&
                      read_strict_real(value).has_value();
  const bool quoted = value.size() >= 1 && value.front() == u'"' && value.back() == u'"';
  if (number || quoted) {
    out.append(value);
  } else {
    out.push_back(u'"');
    out.append(value);
    out.push_back(u'"');
  }
}

// Scans text for `%name%` references. `write` appends a resolved value to the output.
// Nothing when the output grows beyond `limit`.
template <typename Write>
std::optional<std::u16string> scan_references(const tVarArray& table, std::u16string_view text, Flags flags,
                                              Budget& budget, std::size_t limit, Write write) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find(u'%', i);
    if (open == std::u16string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, open - i));
    const std::size_t close = text.find(u'%', open + 1);
    if (close == std::u16string_view::npos) {
      out.append(text.substr(open));
      break;
    }
    const std::u16string_view name = text.substr(open + 1, close - open - 1);
    const std::optional<Text> resolved = resolve_reference(table, name, flags, budget);
    if (resolved) {
      write(out, resolved->view());
    } else {
      out.append(text.substr(open, close - open + 1));
    }
    if (out.size() > limit) return std::nullopt;
    i = close + 1;
  }
  if (out.size() > limit) return std::nullopt;
  return out;
}

// The `%` scan of one text. A text that is one reference and nothing else takes the
// resolved value itself, so `%x%` shares x's storage. Nothing beyond `limit`.
std::optional<Text> substitute_references(const tVarArray& table, Input text, Flags flags, Budget& budget,
                                          std::size_t limit) {
  const std::u16string_view view = text.view();
  if (view.size() >= 2 && view.front() == u'%' && view.find(u'%', 1) == view.size() - 1) {
    std::optional<Text> resolved = resolve_reference(table, view.substr(1, view.size() - 2), flags, budget);
    if (!resolved) return text.text();
    if (resolved->size() > limit) return std::nullopt;
    return resolved;
  }
  std::optional<std::u16string> out =
      scan_references(table, view, flags, budget, limit,
                      [](std::u16string& out, std::u16string_view value) { out.append(value); });
  if (!out) return std::nullopt;
  return *out == view ? text.text() : Text(*out);
}

// `repetition` marks the repeated expansion of a changed result: its output counts
// against the budget, and a round that would overrun it is abandoned for the text
// reached before it.
Text expand(const tVarArray& table, Input input, bool repeat, Flags flags, Budget& budget, bool repetition) {
  if (table.count() == 0 || budget.exhausted()) return input.text();
  const DepthGuard guard(budget);

  const Input text = flags.trim ? input.trimmed() : input;
  if (is_braced(text.view())) {
    if (std::optional<Text> value = evaluate_braced(table, text.view(), flags, budget)) return *value;
  }
  if (std::optional<Text> value = look_up(table, text.view(), flags)) return *value;
  if (text.view().find(u'%') == std::u16string_view::npos) return text.text();

  const std::size_t limit = repetition ? budget.allowance - budget.repeated_output : kUnlimited;
  const std::optional<Text> out = substitute_references(table, text, flags, budget, limit);
  if (!out) return text.text();
  if (repetition) budget.repeated_output += out->size();
  if (!repeat || *out == text.view() || occurs_in(out->view(), text.view()) ||
      budget.depth + 1 >= kMaxExpansionDepth) {
    return *out;
  }
  // Repetitions may produce a few times what the first expansion gave, so that large
  // texts still expand again while a runaway cycle stops early.
  if (!repetition) {
    budget.allowance = std::max(budget.allowance, std::max(kMinRepeatedExpansion, 4 * out->size()));
  }
  return expand(table, Input(*out), true, Flags{flags.implicit, false}, budget, true);
}

Text expand_for_expression(const tVarArray& table, std::u16string_view text, Flags flags, Budget& budget) {
  return Text(*scan_references(table, text, flags, budget, kUnlimited, append_as_literal));
}

Flags table_flags(const tVarArray& table) { return Flags{table.implicit_lookup(), table.trimming()}; }

bool names_an_argument(const tVarArray& table, std::u16string_view text) {
  for (const CommandLineVariable& argument : table.command_line_variables()) {
    if (equals_ignoring_ascii_case(argument.name, text)) return true;
  }
  return false;
}

// The commonest parameter, `%name%` naming a variable whose value is plain text, by a
// short way that gives what the full expansion gives. Nothing whenever any rule of the
// full expansion could apply (the whole text is itself a name, the name is braced, the
// value is braced, holds `%`, names something, or equals the name), so that the full
// expansion decides.
// Which of `%` and the blank a text holds, in one pass.
struct Holds {
  bool percent = false;
  bool blank = false;
};

Holds holds(std::u16string_view text) noexcept {
  Holds found;
  for (char16_t c : text) {
    found.percent |= c == u'%';
    found.blank |= c == u' ';
  }
  return found;
}

const Text* plain_reference_value(const tVarArray& table, std::u16string_view text, Flags flags) {
  if (flags.trim) text = trim(text);
  if (text.size() < 3 || text.front() != u'%' || text.back() != u'%') return nullptr;
  std::u16string_view name = text.substr(1, text.size() - 2);
  if (flags.trim) name = trim(name);
  const Holds in_name = holds(name);
  // `text` is `%` + the untrimmed name + `%`, so it holds a blank where the name does.
  if (in_name.percent || in_name.blank || is_braced(name)) return nullptr;
  if (flags.implicit && table.some_name_holds_percent() && table.find_entry(text) >= 0) return nullptr;
  if (names_an_argument(table, text)) return nullptr;
  const std::int32_t entry = table.find_entry(name);
  if (entry < 0) return nullptr;
  const Text& value = table.entry(entry).Value;
  const std::u16string_view view = value.view();
  // A trimmed value would be a new text; the full expansion makes it.
  if (flags.trim && trim(view).size() != view.size()) return nullptr;
  const Holds in_value = holds(view);
  if (in_value.percent || view == name || is_braced(view)) return nullptr;
  if (flags.implicit && !in_value.blank && table.find_entry(view) >= 0) return nullptr;
  if (names_an_argument(table, view)) return nullptr;
  return &value;
}

// Whether a text may be a lone `%name%` (the first blank-or-control character aside,
// which trimming would remove), before the short way looks closer.
bool may_be_reference(std::u16string_view text, Flags flags) {
  return !text.empty() && (text.front() == u'%' || (flags.trim && text.front() <= u' '));
}

}  // namespace

Text ExpandText(const tVarArray& table, const Text& text, bool repeat) {
  if (table.count() == 0) return text;
  const Flags flags = table_flags(table);
  if (may_be_reference(text.view(), flags)) {
    if (const Text* value = plain_reference_value(table, text.view(), flags)) return *value;
  }
  Budget budget;
  return expand(table, Input(text), repeat, flags, budget);
}

Text ExpandText(const tVarArray& table, std::u16string_view text, bool repeat) {
  if (table.count() == 0) return Text(text);
  const Flags flags = table_flags(table);
  if (may_be_reference(text, flags)) {
    if (const Text* value = plain_reference_value(table, text, flags)) return *value;
  }
  Budget budget;
  return expand(table, Input(text), repeat, flags, budget);
}

Text ExpandTextInFull(const tVarArray& table, std::u16string_view text, bool repeat) {
  Budget budget;
  return expand(table, Input(text), repeat, table_flags(table), budget);
}

std::u16string_view ExpandToView(const tVarArray& table, std::u16string_view text, Text& holder, bool repeat) {
  if (table.count() == 0) return text;
  const Flags flags = table_flags(table);
  if (may_be_reference(text, flags)) {
    if (const Text* value = plain_reference_value(table, text, flags)) {
      holder = *value;
      return holder.view();
    }
  }
  // Without `%` and braces, a text is a whole-text name or stays as it is (trimmed).
  const std::u16string_view trimmed_text = flags.trim ? trim(text) : text;
  if (trimmed_text.find(u'%') == std::u16string_view::npos && !is_braced(trimmed_text)) {
    if (std::optional<Text> value = look_up(table, trimmed_text, flags)) {
      holder = std::move(*value);
      return holder.view();
    }
    return trimmed_text;
  }
  holder = ExpandText(table, text, repeat);
  return holder.view();
}

Text ExpandForExpression(const tVarArray& table, std::u16string_view text) {
  Budget budget;
  return expand_for_expression(table, text, table_flags(table), budget);
}

std::optional<Text> evaluate_expression(const tVarArray& table, std::u16string_view expression) {
  ExpressionEvaluator* evaluator = table.evaluator();
  if (!evaluator) return std::nullopt;
  return evaluator->evaluate(expression, table.line_number());
}

namespace {

Text substitute_braced_inside(const tVarArray& table, std::u16string_view inside) {
  const bool has_references = inside.find(u'%') != std::u16string_view::npos;
  return has_references ? ExpandForExpression(table, inside) : ExpandText(table, inside);
}

}  // namespace

std::optional<Text> evaluate_braced_inside(const tVarArray& table, std::u16string_view inside) {
  return evaluate_expression(table, substitute_braced_inside(table, inside).view());
}

std::optional<bool> evaluate_expression_truth(const tVarArray& table, std::u16string_view expression) {
  ExpressionEvaluator* evaluator = table.evaluator();
  if (!evaluator) return std::nullopt;
  return evaluator->evaluate_truth(expression, table.line_number());
}

std::optional<bool> evaluate_braced_truth(const tVarArray& table, std::u16string_view inside) {
  return evaluate_expression_truth(table, substitute_braced_inside(table, inside).view());
}

}  // namespace dorovev
