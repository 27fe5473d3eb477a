// The key names of Press> and Release>.
#include "values/key_names.h"

#include <string>

#include "values/ascii.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

// A direct key event; its scan code is 0.
struct Direct {
  std::uint8_t virtual_key = 0;
  std::uint8_t flags = kKeyDown;
};

// What a name does in one form: code characters for the key sender, or direct events.
struct Stroke {
  std::u16string_view codes;
  Direct events[3] = {};
  std::uint8_t event_count = 0;
};

constexpr Stroke codes(std::u16string_view text) { return {text, {}, 0}; }
constexpr Stroke down(std::uint8_t key) { return {{}, {{key, kKeyDown}}, 1}; }
constexpr Stroke up(std::uint8_t key) { return {{}, {{key, kKeyUp}}, 1}; }
constexpr Stroke extended_down(std::uint8_t key) { return {{}, {{key, kKeyExtended}}, 1}; }
constexpr Stroke extended_up(std::uint8_t key) { return {{}, {{key, kKeyExtended | kKeyUp}}, 1}; }
constexpr Stroke down_up(std::uint8_t key) { return {{}, {{key, kKeyDown}, {key, kKeyUp}}, 2}; }
constexpr Stroke extended_down_up(std::uint8_t key) {
  return {{}, {{key, kKeyExtended}, {key, kKeyExtended | kKeyUp}}, 2};
}

struct Row {
  std::u16string_view name;
  Stroke stroke;
  Stroke legacy_stroke;
};
constexpr Row same(std::u16string_view name, Stroke stroke) { return {name, stroke, stroke}; }

using namespace key_codes;

constexpr Row kPressRows[] = {
    same(u"BACKSPACE", codes(u"\u0008")),
    same(u"TAB", codes(u"\u0009")),
    same(u"\t", codes(u"\u0009")),
    same(u"ENTER", codes(u"\u000D")),
    same(u"ESC", codes(u"\u001B")),
    {u"HOME", extended_down_up(0x24), codes(u"\u00F0")},
    {u"END", extended_down_up(0x23), codes(u"\u00F1")},
    {u"UP", extended_down_up(0x26), codes(u"\u00F2")},
    {u"DOWN", extended_down_up(0x28), codes(u"\u00F3")},
    {u"LEFT", extended_down_up(0x25), codes(u"\u00F4")},
    {u"RIGHT", extended_down_up(0x27), codes(u"\u00F5")},
    {u"PAGE UP", extended_down_up(0x21), codes(u"\u00F6")},
    {u"PAGE DOWN", extended_down_up(0x22), codes(u"\u00F7")},
    {u"INS", extended_down_up(0x2D), codes(u"\u00F8")},
    {u"DEL", extended_down_up(0x2E), codes(u"\u00F9")},
    {u"SHIFT", down(0x10), codes(u"\u00FA")},
    same(u"LSHIFT", down(0xA0)),
    same(u"RSHIFT", extended_down(0xA1)),
    {u"CTRL", down(0x11), codes(u"\u00FC")},
    same(u"LCTRL", down(0xA2)),
    same(u"RCTRL", extended_down(0xA3)),
    {u"ALT", down(0x12), codes(u"\u00FE")},
    same(u"LALT", down(0xA4)),
    same(u"RALT", extended_down(0xA5)),
    {u"ALTGR", {{}, {{0x11, kKeyDown}, {0x12, kKeyExtended}}, 2}, codes(u"\u00FE\u00FC")},
    same(u"CAPS", down_up(0x14)),
    // Num Lock ends with a key-down event of no key, which resets the keyboard's memory
    // of the last key without typing anything.
    same(u"NUM LOCK", {{}, {{0x90, kKeyExtended}, {0x90, kKeyExtended | kKeyUp}, {0, kKeyDown}}, 3}),
    same(u"SCROLL LOCK", down_up(0x91)),
    same(u"PRINT SCREEN", down_up(0x2C)),
    same(u"LWINKEY", down(0x5B)),
    same(u"RWINKEY", down(0x5C)),
    same(u"MENUKEY", down_up(0x5D)),
};

constexpr Row kReleaseRows[] = {
    {u"SHIFT", up(0x10), codes(u"\u00FB")},
    same(u"RSHIFT", extended_up(0xA1)),
    same(u"LSHIFT", up(0xA0)),
    {u"CTRL", up(0x11), codes(u"\u00FD")},
    same(u"RCTRL", extended_up(0xA3)),
    same(u"LCTRL", up(0xA2)),
    {u"ALT", up(0x12), codes(u"\u00FF")},
    same(u"RALT", extended_up(0xA5)),
    same(u"LALT", up(0xA4)),
    {u"ALTGR", {{}, {{0x11, kKeyUp}, {0x12, kKeyExtended | kKeyUp}}, 2}, codes(u"\u00FF\u00FD")},
    same(u"LWINKEY", up(0x5B)),
    same(u"RWINKEY", up(0x5C)),
};

void add_direct(KeyActions& out, std::uint8_t virtual_key, std::uint8_t flags) {
  out.push_back(key_event(virtual_key, flags));
  out.push_back(process_messages_once());
}

void perform(KeyActions& out, const Stroke& stroke, LayoutLookup lookup) {
  if (!stroke.codes.empty()) {
    send_codes(out, stroke.codes, lookup);
    return;
  }
  for (std::uint8_t i = 0; i < stroke.event_count; ++i) add_direct(out, stroke.events[i].virtual_key, stroke.events[i].flags);
}

template <std::size_t N>
bool perform_row(KeyActions& out, const Row (&rows)[N], std::u16string_view upper, bool legacy, LayoutLookup lookup) {
  for (const Row& row : rows) {
    if (row.name != upper) continue;
    perform(out, legacy ? row.legacy_stroke : row.stroke, lookup);
    return true;
  }
  return false;
}

// F1 to F12 are the key sender's codes U+00E4 to U+00EF; F13 to F24 are direct events.
bool press_function_key(KeyActions& out, std::u16string_view upper, LayoutLookup lookup) {
  if (upper.size() < 2 || upper.size() > 3 || upper[0] != u'F' || upper[1] < u'1' || upper[1] > u'9') return false;
  int number = upper[1] - u'0';
  if (upper.size() == 3) {
    if (upper[2] < u'0' || upper[2] > u'9') return false;
    number = number * 10 + (upper[2] - u'0');
  }
  if (number > 24) return false;
  if (number <= 12) {
    const char16_t code = static_cast<char16_t>(kF1 + number - 1);
    send_codes(out, std::u16string_view(&code, 1), lookup);
    return true;
  }
  const auto key = static_cast<std::uint8_t>(0x7C + number - 13);
  add_direct(out, key, kKeyDown);
  add_direct(out, key, kKeyUp);
  return true;
}

// The keypad: "NP" and a digit presses that digit (any other third character, or none,
// presses 0; a blank presses no digit), then every operator word the name contains, then
// a key-down event of no key.
bool press_keypad_key(KeyActions& out, std::u16string_view upper) {
  if (upper.size() < 2 || upper.substr(0, 2) != u"NP") return false;
  if (upper.size() == 2 || upper[2] != u' ') {
    const std::int32_t digit = upper.size() == 2 ? 0 : read_integer_or_zero(upper.substr(2, 1));
    const auto key = static_cast<std::uint8_t>(0x60 + digit);
    add_direct(out, key, kKeyExtended);
    add_direct(out, key, kKeyExtended | kKeyUp);
  }
  struct Word {
    std::u16string_view word;
    std::uint8_t virtual_key;
  };
  constexpr Word kWords[] = {{u"ADD", 0x6B},    {u"SUBTRACT", 0x6D}, {u"DECIMAL", 0x6E},
                             {u"DIVIDE", 0x6F}, {u"MULTIPLY", 0x6A}, {u"ENTER", 0x0D}};
  for (const Word& word : kWords) {
    if (upper.find(word.word) == std::u16string_view::npos) continue;
    add_direct(out, word.virtual_key, kKeyExtended);
    add_direct(out, word.virtual_key, kKeyExtended | kKeyUp);
  }
  add_direct(out, 0, kKeyDown);
  return true;
}

}  // namespace

PressParameters split_press_parameters(std::u16string_view parameters) noexcept {
  const std::size_t star = parameters.find(u'*');
  if (star == std::u16string_view::npos) return {parameters, std::nullopt};
  return {trim(parameters.substr(0, star)), trim(parameters.substr(star + 1))};
}

bool press_key(KeyActions& out, std::u16string_view name, bool legacy, LayoutLookup lookup) {
  const std::u16string upper = to_upper_ascii(name);
  return perform_row(out, kPressRows, upper, legacy, lookup) || press_function_key(out, upper, lookup) ||
         press_keypad_key(out, upper);
}

bool release_key(KeyActions& out, std::u16string_view name, bool legacy, LayoutLookup lookup) {
  return perform_row(out, kReleaseRows, to_upper_ascii(name), legacy, lookup);
}

}  // namespace dorovev
