// The key sender: performs key strokes with the system's keyboard-event services, for
// whatever window has the keyboard focus.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "values/key_strokes.h"

namespace dorovev {

// Key events go through the legacy single-key call (keybd_event); characters outside the
// ANSI code page go through the Unicode input call (SendInput), which is looked up in
// user32 at each use so that a system without it simply types nothing. The sender keeps no
// state between calls.
class TSendKeys {
 public:
  // `process_messages` serves the caller's message queue where a sequence asks for it.
  explicit TSendKeys(std::function<void()> process_messages);

  // The events of a string of code characters (U+0001 to U+00FF).
  void send(std::u16string_view codes);

  // Performs the actions in order, with no pause between them.
  void perform(const KeyActions& actions);

  // Each UTF-16 unit as a Unicode key press and release, then the messages processed once
  // and 50 milliseconds of sleep. Units are skipped when the Unicode input call is missing.
  void type_unicode(std::u16string_view units);

  // The active keyboard layout's key for a character (VkKeyScanW).
  static std::int16_t layout_lookup(char16_t character) noexcept;

 private:
  std::function<void()> process_messages_;
};

}  // namespace dorovev
