#include "commands/input/lock_wait_key.h"

#include "values/number_readers.h"

namespace dorovev {

WaitKey read_wait_key(std::u16string_view text) noexcept {
  if (text.size() == 1) return {WaitKey::Kind::kCharacter, text.front(), 0};
  const auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
  if (text.size() < 2 || upper(text[0]) != u'V' || upper(text[1]) != u'K') return {};
  const std::int32_t code = read_integer_or_zero(text.substr(2));
  if (code < 1 || code > 255) return {};
  return {WaitKey::Kind::kVirtualKey, 0, static_cast<std::uint8_t>(code)};
}

}  // namespace dorovev
