// Substitution: how a raw parameter piece becomes its final text.
#pragma once

#include <optional>
#include <string_view>

#include "values/text.h"
#include "values/variable_table.h"

namespace dorovev {

// Resolves one parameter piece: a braced expression, a whole-text variable name (while
// implicit lookup is on), a `/name=value` argument of the command line, and `%name%`
// references. With repeat on, a changed result is expanded again until it stops
// changing, contains the text it came from, or the repetition bound is reached.
// A text that resolves to itself is returned as the same shared text, without copying.
Text ExpandText(const tVarArray& table, const Text& text, bool repeat = true);
Text ExpandText(const tVarArray& table, std::u16string_view text, bool repeat = true);

// ExpandText for a caller that only reads the result: when the text expands to itself
// (or to its trimmed self) the result views `text` and nothing is allocated; otherwise
// `holder` keeps the result. The view lives as long as both `text` and `holder`.
std::u16string_view ExpandToView(const tVarArray& table, std::u16string_view text, Text& holder,
                                 bool repeat = true);

// The expansion without the short ways ExpandText and ExpandToView take for common
// shapes of text. It gives the same results; tests and fuzzing hold the two together.
Text ExpandTextInFull(const tVarArray& table, std::u16string_view text, bool repeat = true);

// The substitution applied to a braced text that contains `%` before it is evaluated:
// every resolved reference is inserted as an expression literal (a number as it stands,
// anything else in double quotes). There is no repeated expansion.
Text ExpandForExpression(const tVarArray& table, std::u16string_view text);

// Hands an expression to the table's evaluator with the current line number. Nothing
// when there is no evaluator or the expression gives no value (the evaluator has said why).
std::optional<Text> evaluate_expression(const tVarArray& table, std::u16string_view expression);

// The inside of a braced text, substituted as braced parameters are (ExpandText, or
// ExpandForExpression when it holds `%`), then evaluated.
std::optional<Text> evaluate_braced_inside(const tVarArray& table, std::u16string_view inside);

// The same two, read as a truth value, as conditions read them.
std::optional<bool> evaluate_expression_truth(const tVarArray& table, std::u16string_view expression);
std::optional<bool> evaluate_braced_truth(const tVarArray& table, std::u16string_view inside);

// Bounds of repeated expansion: variables that refer to each other in a growing cycle
// stop expanding at this depth, or when the repetitions of one call have produced four
// times the first expansion's length (at least this many code units), and yield the
// text reached. The depth also bounds nested braces.
inline constexpr int kMaxExpansionDepth = 32;
inline constexpr std::size_t kMinRepeatedExpansion = std::size_t{256} << 10;

}  // namespace dorovev
