// Key strokes as data: the events of typed characters, Alt codes, the key sender's code
// characters and the key names of Press> and Release>.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "values/key_names.h"
#include "values/key_strokes.h"

namespace dorovev {
namespace {

// A fake keyboard layout, standing in for the system's lookup: a US layout's letters,
// digits, blank, tab, return and "!", and "@" on AltGr+Q as a German layout has it. Every
// other character has no key.
std::int16_t fake_layout(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<std::int16_t>(c - u'a' + 'A');
  if (c >= u'A' && c <= u'Z') return static_cast<std::int16_t>(0x100 | c);
  if ((c >= u'0' && c <= u'9') || c == u' ' || c == u'\t' || c == u'\r') return static_cast<std::int16_t>(c);
  if (c == u'!') return 0x131;
  if (c == u'@') return 0x651;
  return -1;
}

// Actions as a compact text: "24dxs" is key 0x24 down (d) or up (u), extended (x), with the
// scan code looked up (s); "." is processing the messages once.
std::string text_of(const KeyActions& actions) {
  std::string text;
  for (const KeyAction& action : actions) {
    if (!text.empty()) text += ' ';
    if (action.kind == KeyAction::Kind::kProcessMessages) {
      text += '.';
      continue;
    }
    char key[8];
    std::snprintf(key, sizeof key, "%02x%c%s%s", action.virtual_key, (action.flags & kKeyUp) ? 'u' : 'd',
                  (action.flags & kKeyExtended) ? "x" : "", action.scan_looked_up ? "s" : "");
    text += key;
  }
  return text;
}

TEST(KeyStrokes, LayoutCharactersAndAltCodes) {
  struct Case {
    char16_t character;
    bool invert_shift;
    const char* events;
  };
  const Case cases[] = {
      {u'h', false, "48ds 48us"},
      {u'H', false, "10ds 48ds 48us 10us"},
      {u'h', true, "10ds 48ds 48us 10us"},
      {u'H', true, "48ds 48us"},
      {u'1', true, "10ds 31ds 31us 10us"},
      {u'!', false, "10ds 31ds 31us 10us"},
      // Ctrl, Shift, Alt down in that order and up in the reverse order.
      {u'@', true, "11ds 10ds 12ds 51ds 51us 12us 10us 11us"},
      // No key in the layout: Alt held, the keypad digits of at least four places.
      {u'\u00e9', false, "12ds 60ds 60us 62ds 62us 63ds 63us 63ds 63us 12us"},
      {u'\u2014', false, "12ds 68ds 68us 62ds 62us 61ds 61us 62ds 62us 12us"},  // 8212
  };
  for (const Case& c : cases) {
    KeyActions actions;
    type_layout_character(actions, c.character, fake_layout, c.invert_shift);
    EXPECT_EQ(text_of(actions), c.events) << "U+" << std::hex << static_cast<int>(c.character);
  }
}

TEST(KeyStrokes, AltCodesOfEveryWidth) {
  struct Case {
    std::int32_t number;
    const char* events;
  };
  const Case cases[] = {
      {0, "12ds 60ds 60us 60ds 60us 60ds 60us 60ds 60us 12us"},
      {65, "12ds 60ds 60us 60ds 60us 66ds 66us 65ds 65us 12us"},
      {12345, "12ds 61ds 61us 62ds 62us 63ds 63us 64ds 64us 65ds 65us 12us"},
      {-5, ""},  // no character has a negative code; its sign has no keypad key
      {INT32_MIN, ""},
  };
  for (const Case& c : cases) {
    KeyActions actions;
    type_by_alt_code(actions, c.number);
    EXPECT_EQ(text_of(actions), c.events) << c.number;
  }
  KeyActions extended;
  type_by_layout(extended, {0x2E, 0}, true);
  EXPECT_EQ(text_of(extended), "2edxs 2euxs");
}

TEST(KeyStrokes, LayoutLookupBits) {
  EXPECT_EQ(decode_layout_key(0x0141).shift_state, kShiftBit);
  EXPECT_EQ(decode_layout_key(0x0241).shift_state, kCtrlBit);
  EXPECT_EQ(decode_layout_key(0x0441).shift_state, kAltBit);
  EXPECT_EQ(decode_layout_key(0x3841).shift_state, 0) << "high-byte bits beyond 1, 2, 4 are ignored";
  EXPECT_EQ(decode_layout_key(0x0741).virtual_key, 0x41);
}

TEST(KeySender, CodeCharacters) {
  struct Case {
    std::u16string_view codes;
    const char* events;
  };
  const Case cases[] = {
      {u"\u0008\u001b", "08ds 08us . 1bds 1bus ."},
      {u"\u00e4\u00ef", "70ds 70us . 7bds 7bus ."},
      {u"\u00f0\u00f9", "24ds 24us . 2eds 2eus ."},
      {u"\u00f1\u00f2\u00f3\u00f4\u00f5\u00f6\u00f7\u00f8",
       "23ds 23us . 26ds 26us . 28ds 28us . 25ds 25us . 27ds 27us . 21ds 21us . 22ds 22us . 2dds 2dus ."},
      {u"\u00fa\u00fb\u00fc\u00fd\u00fe\u00ff", "10ds . 10us . 11ds . 11us . 12ds . 12us ."},
      // Layout characters: the sender's own modifier order, Shift, Ctrl, Alt, scan code 0.
      {u"H", "10d 48ds 48us 10u ."},
      {u"@", "11d 12d 51ds 51us 12u 11u ."},
      // While a modifier code holds a modifier down, the layout's shift bits are not added.
      {u"\u00faH\u00fbH", "10ds . 48ds 48us . 10us . 10d 48ds 48us 10u ."},
      // Not code characters, or no key in the layout: nothing.
      {u"\u0000\u0100\u20ac\u00e9", ""},
      {u"", ""},
  };
  for (const Case& c : cases) {
    KeyActions actions;
    send_codes(actions, c.codes, fake_layout);
    EXPECT_EQ(text_of(actions), c.events) << c.events;
  }
}

TEST(PressParameters, TheRepeatCountFollowsTheFirstStar) {
  struct Case {
    std::u16string_view parameters;
    std::u16string_view name;
    const char16_t* repeat;  // nullptr: no count
  };
  const Case cases[] = {
      {u"Tab * 3", u"Tab", u"3"},
      {u"Tab*x", u"Tab", u"x"},
      {u" page up *2* 4 ", u"page up", u"2* 4"},
      {u"*", u"", u""},
      {u" Tab ", u" Tab ", nullptr},  // without a count the name stays as written
  };
  for (const Case& c : cases) {
    const PressParameters split = split_press_parameters(c.parameters);
    EXPECT_EQ(split.name, c.name);
    EXPECT_EQ(split.repeat_text.has_value(), c.repeat != nullptr);
    if (c.repeat != nullptr && split.repeat_text) {
      EXPECT_EQ(*split.repeat_text, c.repeat);
    }
  }
}

struct NameCase {
  std::u16string_view name;
  const char* events;         // SK_LEGACY not 1; "" when the name is no key
  const char* legacy_events;  // SK_LEGACY 1
};

void expect_names(const NameCase* begin, const NameCase* end, bool press) {
  for (const NameCase* c = begin; c != end; ++c) {
    for (const bool legacy : {false, true}) {
      KeyActions actions;
      const bool known = press ? press_key(actions, c->name, legacy, fake_layout)
                               : release_key(actions, c->name, legacy, fake_layout);
      const std::string expected = legacy ? c->legacy_events : c->events;
      EXPECT_EQ(text_of(actions), expected) << std::string(c->name.begin(), c->name.end()) << " legacy " << legacy;
      EXPECT_EQ(known, !expected.empty());
    }
  }
}

TEST(KeyNames, Press) {
  const NameCase cases[] = {
      {u"Tab", "09ds 09us .", "09ds 09us ."},
      {u"\t", "09ds 09us .", "09ds 09us ."},
      {u"backspace", "08ds 08us .", "08ds 08us ."},
      {u"ENTER", "0dds 0dus .", "0dds 0dus ."},
      {u"esc", "1bds 1bus .", "1bds 1bus ."},
      {u"f1", "70ds 70us .", "70ds 70us ."},
      {u"F12", "7bds 7bus .", "7bds 7bus ."},
      {u"F13", "7cd . 7cu .", "7cd . 7cu ."},
      {u"f24", "87d . 87u .", "87d . 87u ."},
      {u"home", "24dx . 24ux .", "24ds 24us ."},
      {u"Page Down", "22dx . 22ux .", "22ds 22us ."},
      {u"del", "2edx . 2eux .", "2eds 2eus ."},
      {u"shift", "10d .", "10ds ."},
      {u"RSHIFT", "a1dx .", "a1dx ."},
      {u"lctrl", "a2d .", "a2d ."},
      {u"Ctrl", "11d .", "11ds ."},
      {u"alt", "12d .", "12ds ."},
      {u"AltGr", "11d . 12dx .", "12ds . 11ds ."},
      {u"caps", "14d . 14u .", "14d . 14u ."},
      {u"NUM LOCK", "90dx . 90ux . 00d .", "90dx . 90ux . 00d ."},
      {u"print screen", "2cd . 2cu .", "2cd . 2cu ."},
      {u"lwinkey", "5bd .", "5bd ."},
      {u"menukey", "5dd . 5du .", "5dd . 5du ."},
      {u"np7", "67dx . 67ux . 00d .", "67dx . 67ux . 00d ."},
      {u"NP", "60dx . 60ux . 00d .", "60dx . 60ux . 00d ."},
      {u"NPx", "60dx . 60ux . 00d .", "60dx . 60ux . 00d ."},
      {u"NP ADD", "6bdx . 6bux . 00d .", "6bdx . 6bux . 00d ."},
      {u"np enter subtract", "6ddx . 6dux . 0ddx . 0dux . 00d .", "6ddx . 6dux . 0ddx . 0dux . 00d ."},
      {u"NP5DIVIDE", "65dx . 65ux . 6fdx . 6fux . 00d .", "65dx . 65ux . 6fdx . 6fux . 00d ."},
      // No key.
      {u"", "", ""},
      {u" Tab", "", ""},
      {u"Tabulator", "", ""},
      {u"PAGE  UP", "", ""},
      {u"F0", "", ""},
      {u"F01", "", ""},
      {u"F25", "", ""},
      {u"F1x", "", ""},
      {u"N", "", ""},
      {u"%k%", "", ""},
      {u"\u00e9", "", ""},
  };
  expect_names(std::begin(cases), std::end(cases), true);
}

TEST(KeyNames, Release) {
  const NameCase cases[] = {
      {u"Shift", "10u .", "10us ."},
      {u"rshift", "a1ux .", "a1ux ."},
      {u"CTRL", "11u .", "11us ."},
      {u"RCtrl", "a3ux .", "a3ux ."},
      {u"alt", "12u .", "12us ."},
      {u"LALT", "a4u .", "a4u ."},
      {u"altgr", "11u . 12ux .", "12us . 11us ."},
      {u"RWINKEY", "5cu .", "5cu ."},
      // Keys that no press leaves down are not released by name.
      {u"Tab", "", ""},
      {u"home", "", ""},
      {u"NP5", "", ""},
      {u"shift * 2", "", ""},
  };
  expect_names(std::begin(cases), std::end(cases), false);
}

}  // namespace
}  // namespace dorovev
