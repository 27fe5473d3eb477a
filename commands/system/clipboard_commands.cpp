// GCB, PUT and WCB: the clipboard's text, read, replaced and waited for. They fail
// silently: a clipboard that another program holds open or that holds no text leaves
// things as they were.
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>

#include "commands/system/program_handlers.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"

namespace dorovev {
namespace {

// Text put on the clipboard needs an owner window: a message-only window of this thread,
// made once and kept for the life of the process.
HWND clipboard_owner() {
  static const HWND owner =
      ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  return owner;
}

// Open for the length of one command.
class OpenClipboard {
 public:
  OpenClipboard() : open_(::OpenClipboard(clipboard_owner()) != FALSE) {}
  ~OpenClipboard() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboard(const OpenClipboard&) = delete;
  OpenClipboard& operator=(const OpenClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// The text up to its terminating null, never past the end of the memory that holds it.
std::optional<std::u16string> clipboard_text() {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  const OpenClipboard clipboard;
  if (!clipboard) return std::nullopt;
  const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* characters = static_cast<const char16_t*>(::GlobalLock(data));
  if (!characters) return std::nullopt;
  const std::size_t room = ::GlobalSize(data) / sizeof(char16_t);
  std::size_t length = 0;
  while (length < room && characters[length] != u'\0') ++length;
  std::u16string text(characters, length);
  ::GlobalUnlock(data);
  return text;
}

void set_clipboard_text(std::u16string_view text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return;
  void* target = ::GlobalLock(memory);
  if (!target) {
    ::GlobalFree(memory);
    return;
  }
  std::memcpy(target, text.data(), text.size() * sizeof(char16_t));
  static_cast<char16_t*>(target)[text.size()] = u'\0';
  ::GlobalUnlock(memory);
  const OpenClipboard clipboard;
  // The clipboard owns the memory once it is set; until then it is ours to free.
  if (!clipboard || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory)) ::GlobalFree(memory);
}

}  // namespace

void get_clipboard_command(RunContext& run, std::u16string_view parameters) {
  if (const std::optional<std::u16string> text = clipboard_text()) AssignVariable(run.variables, parameters, *text);
}

void put_clipboard_command(RunContext& run, std::u16string_view parameters) {
  const Text text = run.resolve(parameters);
  if (::GetOpenClipboardWindow()) return;
  set_clipboard_text(text.view());
}

// Waits until no window holds the clipboard open. The queue keeps running between looks,
// so the stop key ends a wait for a program that never lets the clipboard go.
void wait_clipboard_command(RunContext& run, std::u16string_view) {
  while (::GetOpenClipboardWindow()) {
    run.platform.process_messages();
    if (run.process.stop_requested) return;
    run.platform.sleep(1);
  }
}

}  // namespace dorovev
