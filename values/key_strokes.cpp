// Key strokes as plain data.
#include "values/key_strokes.h"

#include <iterator>
#include <string>

namespace dorovev {
namespace {

constexpr std::uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkNumpad0 = 0x60;

// The modifier table: pressed in this order, released in the reverse order.
struct ModifierRow {
  std::uint8_t bit;
  std::uint8_t virtual_key;
};
constexpr ModifierRow kModifiers[] = {{kCtrlBit, kVkControl}, {kShiftBit, kVkShift}, {kAltBit, kVkMenu}};

// The navigation keys of the code characters U+00F0 to U+00F9, in code order.
constexpr std::uint8_t kNavigationKeys[] = {0x24, 0x23, 0x26, 0x28, 0x25, 0x27, 0x21, 0x22, 0x2D, 0x2E};

// The key sender's modifier codes U+00FA to U+00FF: Shift, Ctrl, Alt, each down then up.
constexpr std::uint8_t kModifierCodeKeys[] = {kVkShift, kVkControl, kVkMenu};

// The key of a code character below U+00FA; the shift state comes only from the layout.
LayoutKey code_key(char16_t code, LayoutLookup lookup, bool& known) {
  known = true;
  if (code < 0x20) return {static_cast<std::uint8_t>(code), 0};
  if (code >= key_codes::kHome) return {kNavigationKeys[code - key_codes::kHome], 0};
  if (code >= key_codes::kF1) return {static_cast<std::uint8_t>(code - 116), 0};
  const std::int16_t lookup_result = lookup(code);
  known = lookup_result != -1;
  return decode_layout_key(lookup_result);
}

// The key sender presses the shift bits of a layout character in its own order: Shift,
// Ctrl, Alt, with scan code 0, and releases them Alt, Ctrl, Shift.
constexpr ModifierRow kSenderModifiers[] = {{kShiftBit, kVkShift}, {kCtrlBit, kVkControl}, {kAltBit, kVkMenu}};

void send_code(KeyActions& out, char16_t code, LayoutLookup lookup, bool& modifier_held) {
  if (code >= key_codes::kShiftDown) {
    const unsigned offset = code - key_codes::kShiftDown;
    const bool up = offset % 2 == 1;
    out.push_back(key_event(kModifierCodeKeys[offset / 2], up ? kKeyUp : kKeyDown, true));
    modifier_held = !up;
    return;
  }
  bool known = false;
  const LayoutKey key = code_key(code, lookup, known);
  if (!known) return;
  const std::uint8_t shift = modifier_held ? 0 : key.shift_state;
  for (const ModifierRow& row : kSenderModifiers) {
    if (shift & row.bit) out.push_back(key_event(row.virtual_key, kKeyDown));
  }
  out.push_back(key_event(key.virtual_key, kKeyDown, true));
  out.push_back(key_event(key.virtual_key, kKeyUp, true));
  for (auto row = std::rbegin(kSenderModifiers); row != std::rend(kSenderModifiers); ++row) {
    if (shift & row->bit) out.push_back(key_event(row->virtual_key, kKeyUp));
  }
}

}  // namespace

LayoutKey decode_layout_key(std::int16_t lookup) noexcept {
  const auto bits = static_cast<std::uint16_t>(lookup);
  std::uint8_t shift = 0;
  if (bits & 0x100) shift |= kShiftBit;
  if (bits & 0x200) shift |= kCtrlBit;
  if (bits & 0x400) shift |= kAltBit;
  return {static_cast<std::uint8_t>(bits & 0xFF), shift};
}

void type_by_layout(KeyActions& out, LayoutKey key, bool extended) {
  const std::uint8_t extended_flag = extended ? kKeyExtended : 0;
  for (const ModifierRow& row : kModifiers) {
    if (key.shift_state & row.bit) out.push_back(key_event(row.virtual_key, kKeyDown, true));
  }
  out.push_back(key_event(key.virtual_key, kKeyDown | extended_flag, true));
  out.push_back(key_event(key.virtual_key, kKeyUp | extended_flag, true));
  for (auto row = std::rbegin(kModifiers); row != std::rend(kModifiers); ++row) {
    if (key.shift_state & row->bit) out.push_back(key_event(row->virtual_key, kKeyUp, true));
  }
}

void type_by_alt_code(KeyActions& out, std::int32_t number) {
  // A sign would otherwise become a key far from the keypad ('-' - '0' lands on the
  // menu key), so a negative number types nothing at all.
  if (number < 0) return;
  std::string digits = std::to_string(number);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  out.push_back(key_event(kVkMenu, kKeyDown, true));
  for (const char digit : digits) {
    type_by_layout(out, {static_cast<std::uint8_t>(kVkNumpad0 + (digit - '0')), 0}, false);
  }
  out.push_back(key_event(kVkMenu, kKeyUp, true));
}

void type_layout_character(KeyActions& out, char16_t character, LayoutLookup lookup, bool invert_shift) {
  const std::int16_t lookup_result = lookup(character);
  if (lookup_result == -1) {
    type_by_alt_code(out, character);
    return;
  }
  LayoutKey key = decode_layout_key(lookup_result);
  if (invert_shift) key.shift_state ^= kShiftBit;
  type_by_layout(out, key, false);
}

void send_codes(KeyActions& out, std::u16string_view codes, LayoutLookup lookup) {
  bool modifier_held = false;
  for (const char16_t code : codes) {
    if (code == 0 || code > 0xFF) continue;
    send_code(out, code, lookup, modifier_held);
    out.push_back(process_messages_once());
  }
}

}  // namespace dorovev
