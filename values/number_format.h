// How numbers become text and how text in the user's locale becomes a number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dorovev {

// The general number format: at most 15 significant digits without trailing zeros,
// `separator` as the decimal separator. Fixed notation while the value has at most 15
// integer digits and is not below 0.0001 in magnitude; scientific notation otherwise
// ("1E15", "1.5E-5"). The value must be finite; anything else gives an empty text.
std::u16string format_general(double value, char16_t separator);

// The format of `Add>` and `Sub>`: a value with a fractional part is rounded to exactly
// two decimals after a `.`, halves away from zero; a whole value is written without
// decimals. The value must be finite; anything else gives an empty text.
std::u16string format_two_decimals(double value);

// A number as the user writes it: optional spaces, an optional sign, digits with an
// optional `separator` and fraction, an optional exponent, optional trailing spaces. At
// least one digit must come before the exponent. Values beyond the range of a double
// do not read; values too small for it read as zero.
std::optional<double> read_locale_real(std::u16string_view text, char16_t separator);

}  // namespace dorovev
