// The common parameter shape of the value commands: a piece before the first comma and the rest.
#pragma once

#include <string_view>

namespace dorovev {

// The text before the first comma and the text after it (empty without a comma).
struct CommaSplit {
  std::u16string_view first;
  std::u16string_view rest;
};

constexpr CommaSplit split_at_first_comma(std::u16string_view text) noexcept {
  const std::size_t comma = text.find(u',');
  if (comma == std::u16string_view::npos) return {text, {}};
  return {text.substr(0, comma), text.substr(comma + 1)};
}

constexpr bool contains_percent(std::u16string_view text) noexcept {
  return text.find(u'%') != std::u16string_view::npos;
}

}  // namespace dorovev
