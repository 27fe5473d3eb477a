// The key sender.
#include "commands/input/send_keys.h"

#include <windows.h>

#include <utility>

namespace dorovev {
namespace {

void key_event(const KeyAction& action) {
  const BYTE scan = action.scan_looked_up ? static_cast<BYTE>(::MapVirtualKeyW(action.virtual_key, MAPVK_VK_TO_VSC)) : 0;
  ::keybd_event(action.virtual_key, scan, action.flags, 0);
}

using SendInputCall = UINT(WINAPI*)(UINT, LPINPUT, int);

SendInputCall find_send_input() {
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<SendInputCall>(reinterpret_cast<void*>(::GetProcAddress(user32, "SendInput")));
}

void unicode_event(SendInputCall send_input, char16_t unit, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = 0;
  input.ki.wScan = unit;
  input.ki.dwFlags = flags;
  send_input(1, &input, sizeof(INPUT));
}

}  // namespace

TSendKeys::TSendKeys(std::function<void()> process_messages) : process_messages_(std::move(process_messages)) {}

void TSendKeys::send(std::u16string_view codes) {
  KeyActions actions;
  send_codes(actions, codes, layout_lookup);
  perform(actions);
}

void TSendKeys::perform(const KeyActions& actions) {
  for (const KeyAction& action : actions) {
    if (action.kind == KeyAction::Kind::kProcessMessages) {
      process_messages_();
    } else {
      key_event(action);
    }
  }
}

void TSendKeys::type_unicode(std::u16string_view units) {
  for (const char16_t unit : units) {
    const SendInputCall send_input = find_send_input();
    if (send_input == nullptr) continue;
    unicode_event(send_input, unit, KEYEVENTF_UNICODE);
    unicode_event(send_input, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    process_messages_();
    ::Sleep(50);
  }
}

std::int16_t TSendKeys::layout_lookup(char16_t character) noexcept {
  return static_cast<std::int16_t>(::VkKeyScanW(static_cast<wchar_t>(character)));
}

}  // namespace dorovev
