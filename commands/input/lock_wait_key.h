// Which key WaitKeyDown> waits for, read from its resolved parameter text.
#pragma once

#include <cstdint>
#include <string_view>

namespace dorovev {

// A single character stands for the key that types it (the keyboard layout decides which,
// so it is left to the caller); "VK" (any letter case) and a decimal number name a
// virtual key directly; anything else names no key, which is never down.
struct WaitKey {
  enum class Kind { kCharacter, kVirtualKey };
  Kind kind = Kind::kVirtualKey;
  char16_t character = 0;       // kCharacter
  std::uint8_t virtual_key = 0;  // kVirtualKey; 0 names no key
  friend bool operator==(const WaitKey&, const WaitKey&) = default;
};

// "VK" numbers outside 1 to 255 name no key: there are no virtual keys beyond them.
WaitKey read_wait_key(std::u16string_view text) noexcept;

}  // namespace dorovev
