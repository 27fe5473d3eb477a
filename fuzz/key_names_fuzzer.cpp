// Fuzzes the key names of Press> and Release>, the key sender's code characters and the
// typing of characters, and checks that every event they make is a well-formed key event.
#include <cstddef>
#include <cstdint>
#include <string>

#include "values/key_names.h"
#include "values/key_strokes.h"

using namespace dorovev;

namespace {

// A fake layout: letters and digits have keys, with Shift for capitals; the rest none.
std::int16_t fake_layout(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<std::int16_t>(c - u'a' + 'A');
  if (c >= u'A' && c <= u'Z') return static_cast<std::int16_t>(0x100 | c);
  if (c >= u'0' && c <= u'9') return static_cast<std::int16_t>(c);
  if (c == u'\u20ac') return 0x645;
  return -1;
}

void check(const KeyActions& actions) {
  for (const KeyAction& action : actions) {
    if (action.kind == KeyAction::Kind::kKey && action.flags > (kKeyExtended | kKeyUp)) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string narrow(data, data + size);
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < size; i += 2) wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  for (const std::u16string& text : {narrow, wide}) {
    const PressParameters split = split_press_parameters(text);
    if (split.name.size() > text.size()) __builtin_trap();
    for (const bool legacy : {false, true}) {
      KeyActions pressed;
      // A name that is no key makes nothing; a key always makes something.
      if (press_key(pressed, split.name, legacy, fake_layout) == pressed.empty()) __builtin_trap();
      check(pressed);
      KeyActions released;
      if (release_key(released, text, legacy, fake_layout) == released.empty()) __builtin_trap();
      check(released);
    }
    KeyActions sent;
    send_codes(sent, text, fake_layout);
    check(sent);
    for (const char16_t c : text.substr(0, 64)) {
      KeyActions typed;
      type_layout_character(typed, c, fake_layout, (c & 1) != 0);
      check(typed);
    }
  }
  if (size >= 4) {
    std::int32_t number = 0;
    for (int i = 0; i < 4; ++i) number = static_cast<std::int32_t>((static_cast<std::uint32_t>(number) << 8) | data[i]);
    KeyActions typed;
    type_by_alt_code(typed, number);
    // Alt down, two events for each of at least four digits, Alt up; or nothing for a sign.
    if (number < 0 ? !typed.empty() : typed.size() < 10) __builtin_trap();
    check(typed);
  }
  return 0;
}
