// The lock keys, the wait for a key to go down, and blocking the user's own input.
#include <windows.h>

#include "commands/input/input_commands.h"
#include "commands/input/lock_wait_key.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"

namespace dorovev {
namespace {

using namespace codes;

// The low byte of the key state as this thread sees it: 1 while a lock key is on, with
// the key-down bits on top while it is held, so neither command acts on a held key.
unsigned lock_state(BYTE key) { return static_cast<unsigned>(::GetKeyState(key)) & 0xFFu; }

void press_lock_key(RunContext& run, BYTE key) {
  if (key == VK_NUMLOCK) {
    ::keybd_event(VK_NUMLOCK, 0, KEYEVENTF_EXTENDEDKEY, 0);
    ::keybd_event(VK_NUMLOCK, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    ::keybd_event(0, 0, 0, 0);
  } else {
    ::keybd_event(key, 0, 0, 0);
    ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  }
  run.platform.process_messages();
}

template <BYTE Key, bool On>
void lock_command(RunContext& run, std::u16string_view) {
  if (lock_state(Key) == (On ? 0u : 1u)) press_lock_key(run, Key);
}

// The virtual key of a character is that of the key that types it in the keyboard layout,
// whatever shift state it needs, so "a" and "A" name the same key.
BYTE virtual_key_of(const WaitKey& key) {
  if (key.kind == WaitKey::Kind::kVirtualKey) return key.virtual_key;
  const SHORT scan = ::VkKeyScanW(static_cast<wchar_t>(key.character));
  return static_cast<BYTE>(scan & 0xFF);
}

// WaitKeyDown>key: checks at once, then every 250 milliseconds, processing messages in
// between, until the key is down or a stop is requested. A key that names nothing is never
// down, so only the stop ends that wait.
void wait_key_down_command(RunContext& run, std::u16string_view parameters) {
  const BYTE key = virtual_key_of(read_wait_key(run.resolve(parameters).view()));
  // The layout's answer for a character it lacks is 0xFF, which no key is; 0 names none.
  const auto down = [key] { return key != 0 && key != 0xFF && (::GetKeyState(key) & 0x8000) != 0; };
  while (!down() && !run.process.stop_requested) {
    run.platform.sleep(250);
    run.platform.process_messages();
  }
}

// BlockInput>1 blocks the user's keyboard and mouse input, anything else unblocks it. The
// service is looked up at run time; where the system lacks it nothing happens.
void block_input_command(RunContext& run, std::u16string_view parameters) {
  const HMODULE library = ::LoadLibraryW(L"user32.dll");
  if (!library) return;
  using BlockInputFunction = BOOL(WINAPI*)(BOOL);
  const auto block = reinterpret_cast<BlockInputFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, "BlockInput")));
  if (block) block(run.resolve(parameters) == std::u16string_view(u"1") ? TRUE : FALSE);
  ::FreeLibrary(library);
}

}  // namespace

void register_lock_key_commands(CommandTable& table) {
  table.add(u"CAP"_code, lock_command<VK_CAPITAL, true>);
  table.add(u"COF"_code, lock_command<VK_CAPITAL, false>);
  table.add(u"NON"_code, lock_command<VK_NUMLOCK, true>);
  table.add(u"NOF"_code, lock_command<VK_NUMLOCK, false>);
  table.add(u"SON"_code, lock_command<VK_SCROLL, true>);
  table.add(u"SOF"_code, lock_command<VK_SCROLL, false>);
  table.add(u"WKD"_code, wait_key_down_command);
  table.add(u"BLO"_code, block_input_command);
}

}  // namespace dorovev
