// The keystroke commands: Send> types a text, Press> and Release> work named keys,
// AsciiKeys> types characters by their codes. None of them reports an error: a name that is
// no key, a count that is no number and an empty text simply type nothing.
#include <windows.h>

#include <cstdint>
#include <string>

#include "commands/input/input_commands.h"
#include "commands/input/send_keys.h"
#include "engine/dispatch.h"
#include "engine/pumped_wait.h"
#include "engine/run_context.h"
#include "values/key_names.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

using namespace codes;

TSendKeys key_sender(RunContext& run) {
  return TSendKeys([&platform = run.platform] { platform.process_messages(); });
}

// SK_DELAY, read afresh each time it is needed.
std::int32_t key_delay(RunContext& run) { return read_integer_or_zero(run.resolve(u"%SK_DELAY%").view()); }

// False when the stop key ended the wait.
bool wait_key_delay(RunContext& run) {
  const std::int32_t delay = key_delay(run);
  return delay <= 0 || pumped_wait(run, static_cast<std::uint64_t>(delay));
}

bool caps_lock_on() noexcept { return (::GetKeyState(VK_CAPITAL) & 0xFF) == 1; }

// A text the ANSI code page holds goes through the keyboard layout; any other is typed as
// Unicode units, the whole text, two units at a time so that a surrogate pair stays whole.
bool needs_unicode(RunContext& run, std::u16string_view text) {
  return run.platform.ansi_to_text(run.platform.text_to_ansi(text)) != text;
}

// The stop key ends typing between characters and between repetitions; the keys of one
// character are always completed, so no modifier is left down.
void send_command(RunContext& run, std::u16string_view parameters) {
  const bool ignore_caps = run.setting_is_on(u"SK_IGNORECAPS");
  const std::int32_t delay = key_delay(run);
  const Text text = run.resolve(parameters);
  TSendKeys sender = key_sender(run);
  const std::u16string_view characters = text.view();
  const bool unicode = needs_unicode(run, characters);
  const std::size_t step = unicode ? 2 : 1;
  for (std::size_t at = 0; at < characters.size() && !run.process.stop_requested; at += step) {
    if (unicode) {
      sender.type_unicode(characters.substr(at, step));
    } else {
      KeyActions actions;
      type_layout_character(actions, characters[at], TSendKeys::layout_lookup, ignore_caps && caps_lock_on());
      sender.perform(actions);
    }
    if (delay > 0) pumped_wait(run, static_cast<std::uint64_t>(delay));
  }
}

void press_command(RunContext& run, std::u16string_view parameters) {
  const PressParameters split = split_press_parameters(parameters);
  const std::int32_t repeat = split.repeat_text ? read_integer_or_zero(run.resolve(*split.repeat_text).view()) : 1;
  const Text name = run.setting_is_on(u"PRESS_ALLOWVARS") ? run.resolve(split.name) : Text(split.name);
  const bool legacy = run.setting_is_on(u"SK_LEGACY");
  TSendKeys sender = key_sender(run);
  for (std::int32_t i = 0; i < repeat && !run.process.stop_requested; ++i) {
    if (!wait_key_delay(run)) break;
    KeyActions actions;
    press_key(actions, name.view(), legacy, TSendKeys::layout_lookup);
    sender.perform(actions);
    run.platform.sleep(10);
  }
}

void release_command(RunContext& run, std::u16string_view parameters) {
  const Text name = run.setting_is_on(u"PRESS_ALLOWVARS") ? run.resolve(parameters) : Text(parameters);
  KeyActions actions;
  release_key(actions, name.view(), run.setting_is_on(u"SK_LEGACY"), TSendKeys::layout_lookup);
  key_sender(run).perform(actions);
}

// AsciiKeys>65,66: each comma-separated item resolved and typed by its Alt code; an empty
// item or one that is no number types code 0.
void ascii_keys_command(RunContext& run, std::u16string_view parameters) {
  TSendKeys sender = key_sender(run);
  std::size_t start = 0;
  while (start <= parameters.size()) {
    std::size_t comma = parameters.find(u',', start);
    if (comma == std::u16string_view::npos) comma = parameters.size();
    const Text item = run.resolve(parameters.substr(start, comma - start));
    KeyActions actions;
    type_by_alt_code(actions, read_integer_or_zero(item.view()));
    sender.perform(actions);
    start = comma + 1;
  }
}

void process_own_messages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

void register_key_commands(CommandTable& table) {
  table.add(u"SEN"_code, send_command);
  table.add(u"PRE"_code, press_command);
  table.add(u"REL"_code, release_command);
  table.add(u"ASC"_code, ascii_keys_command);
}

void release_modifier_keys() {
  using namespace key_codes;
  const char16_t codes[] = {kShiftUp, kCtrlUp, kAltUp};
  TSendKeys(process_own_messages).send(std::u16string_view(codes, 3));
}

}  // namespace dorovev
