// Key strokes as plain data: the events that typing a character, an Alt code or a string of
// the key sender's code characters produces, before anything reaches the system.
//
// The keyboard's own services (the layout lookup, the injection) stay outside: a layout
// lookup is passed in as a function, and the events are performed by the Windows key
// sender. So everything here runs, and is tested, on any system.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace dorovev {

// Flags of one key event, as the legacy key-event service takes them.
inline constexpr std::uint8_t kKeyDown = 0;
inline constexpr std::uint8_t kKeyExtended = 1;
inline constexpr std::uint8_t kKeyUp = 2;

// One step of a key sequence: a key event, or processing the pending window messages once.
struct KeyAction {
  enum class Kind : std::uint8_t { kKey, kProcessMessages };
  Kind kind = Kind::kKey;
  std::uint8_t virtual_key = 0;
  std::uint8_t flags = kKeyDown;
  bool scan_looked_up = false;  // the scan code is the layout's for the key, else 0

  friend bool operator==(const KeyAction&, const KeyAction&) = default;
};
using KeyActions = std::vector<KeyAction>;

constexpr KeyAction key_event(std::uint8_t virtual_key, std::uint8_t flags, bool scan_looked_up = false) noexcept {
  return {KeyAction::Kind::kKey, virtual_key, flags, scan_looked_up};
}
constexpr KeyAction process_messages_once() noexcept { return {KeyAction::Kind::kProcessMessages, 0, 0, false}; }

// Shift state of a typed character.
inline constexpr std::uint8_t kShiftBit = 1;
inline constexpr std::uint8_t kAltBit = 2;
inline constexpr std::uint8_t kCtrlBit = 4;

// A character as the active keyboard layout produces it.
struct LayoutKey {
  std::uint8_t virtual_key = 0;
  std::uint8_t shift_state = 0;
};

// What the layout lookup answers (VkKeyScanW): low byte the key, high-byte bits 1, 2, 4
// for Shift, Ctrl and Alt; -1 when the layout cannot produce the character.
using LayoutLookup = std::int16_t (*)(char16_t character);

// The key and shift state of a successful lookup; other high-byte bits are ignored.
LayoutKey decode_layout_key(std::int16_t lookup) noexcept;

// The modifiers of the shift state pressed (Ctrl, Shift, Alt), the key down and up, the
// modifiers released in reverse order. Every scan code is looked up.
void type_by_layout(KeyActions& out, LayoutKey key, bool extended);

// Alt held while the keypad types the number as at least four decimal digits. A negative
// number names no character and types nothing.
void type_by_alt_code(KeyActions& out, std::int32_t number);

// One character of typed text in layout mode: through its key, or by its Alt code when the
// layout has none. `invert_shift` flips the Shift bit (ignore-caps with Caps Lock on).
void type_layout_character(KeyActions& out, char16_t character, LayoutLookup lookup, bool invert_shift);

// Code characters of the key sender.
namespace key_codes {
inline constexpr char16_t kBackspace = 0x08, kTab = 0x09, kEnter = 0x0D, kEscape = 0x1B;
inline constexpr char16_t kF1 = 0xE4, kF12 = 0xEF;
inline constexpr char16_t kHome = 0xF0, kEnd = 0xF1, kUp = 0xF2, kDown = 0xF3, kLeft = 0xF4, kRight = 0xF5,
                          kPageUp = 0xF6, kPageDown = 0xF7, kInsert = 0xF8, kDelete = 0xF9;
inline constexpr char16_t kShiftDown = 0xFA, kShiftUp = 0xFB, kCtrlDown = 0xFC, kCtrlUp = 0xFD, kAltDown = 0xFE,
                          kAltUp = 0xFF;
}  // namespace key_codes

// The events of a string of code characters, each followed by processing the messages
// once. Shift bits that the layout lookup adds are not pressed while a modifier code has
// put a modifier down. Units outside U+0001 to U+00FF are not code characters and are
// skipped, as are layout characters the layout cannot produce.
void send_codes(KeyActions& out, std::u16string_view codes, LayoutLookup lookup);

}  // namespace dorovev
