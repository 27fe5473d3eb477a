// The key names of Press> and Release>, and the events each name stands for.
//
// A name is compared upper-cased (a to z only) with the rows of a table and must match a
// row exactly; the numeric-keypad names (NP5, NP ADD ...) are recognised by their "NP"
// prefix and the words they contain. A row either hands code characters to the key sender
// or makes direct key events, each followed by processing the window messages once. In
// the legacy form (SK_LEGACY is 1) the navigation keys and the Shift, Ctrl, Alt and AltGr
// keys go through the key sender's codes; otherwise they are direct events, the
// navigation keys with the extended-key flag.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "values/key_strokes.h"

namespace dorovev {

// The parameter of Press>: a key name and, after the first "*", the text of its repeat
// count. Both sides of the "*" are trimmed; without one the name is taken unchanged.
struct PressParameters {
  std::u16string_view name;
  std::optional<std::u16string_view> repeat_text;  // not yet resolved
};
PressParameters split_press_parameters(std::u16string_view parameters) noexcept;

// Adds the events of one press of the named key; a name that is no key adds nothing and
// gives false. Code characters are turned into events with the layout lookup.
bool press_key(KeyActions& out, std::u16string_view name, bool legacy, LayoutLookup lookup);

// Adds the events that lift a key that a press left down; false for any other name.
bool release_key(KeyActions& out, std::u16string_view name, bool legacy, LayoutLookup lookup);

}  // namespace dorovev
