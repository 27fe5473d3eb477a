#include "win_test_support.h"

#include <utility>
#include <vector>

namespace dorovev::wintest {

namespace {

using Clock = std::chrono::steady_clock;

void pump_messages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

DWORD window_process(HWND window) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(window, &process_id);
  return process_id;
}

std::wstring class_of(HWND window) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, length > 0 ? length : 0);
}

struct ChildSearch {
  const std::wstring* class_name;
  HWND found;
};

BOOL CALLBACK match_child_class(HWND window, LPARAM search_address) {
  auto* search = reinterpret_cast<ChildSearch*>(search_address);
  if (class_of(window) == *search->class_name) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// One key going down or up, as a keyboard driver reports it.
void key_event(BYTE virtual_key, bool up) {
  const auto scan_code = static_cast<BYTE>(::MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
  ::keybd_event(virtual_key, scan_code, up ? KEYEVENTF_KEYUP : 0, 0);
}

}  // namespace

std::string error_text(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer != nullptr ? buffer : L"", length);
  ::LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  return "error " + std::to_string(code) + (message.empty() ? "" : ": " + narrow(message));
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                         0, nullptr, nullptr);
  std::string result(size > 0 ? size : 0, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
  return result;
}

ChildProcess::~ChildProcess() {
  if (running()) terminate();
}

bool ChildProcess::start(std::wstring command_line) {
  if (running()) terminate();
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  // CreateProcessW may write into the command line, so it gets a buffer of its own.
  std::vector<wchar_t> buffer(command_line.begin(), command_line.end());
  buffer.push_back(L'\0');
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    error_ = "CreateProcessW(" + narrow(command_line) + ") failed: " + error_text(::GetLastError());
    return false;
  }
  process_.reset(info.hProcess);
  thread_.reset(info.hThread);
  id_ = info.dwProcessId;
  error_.clear();
  return true;
}

bool ChildProcess::terminate(std::chrono::milliseconds patience) {
  if (!process_) return true;
  if (running()) ::TerminateProcess(process_.get(), 1);
  return ::WaitForSingleObject(process_.get(), static_cast<DWORD>(patience.count())) == WAIT_OBJECT_0;
}

bool ChildProcess::running() const {
  return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds patience,
                std::chrono::milliseconds poll_interval) {
  const auto deadline = Clock::now() + patience;
  for (;;) {
    if (condition()) return true;
    if (Clock::now() >= deadline) return condition();
    pump_messages();
    ::Sleep(static_cast<DWORD>(poll_interval.count()));
  }
}

HWND find_top_window(DWORD process_id, const std::wstring& title) {
  // Several windows may carry the title (a program left over from an earlier test, say): walk
  // them all and take the one of this process.
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr) {
    if (window_process(window) == process_id && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND wait_for_top_window(DWORD process_id, const std::wstring& title, std::chrono::milliseconds patience) {
  HWND window = nullptr;
  wait_until([&] { return (window = find_top_window(process_id, title)) != nullptr; }, patience);
  return window;
}

HWND find_child_window(HWND parent, const std::wstring& class_name) {
  ChildSearch search{&class_name, nullptr};
  ::EnumChildWindows(parent, match_child_class, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring window_text(HWND window) {
  // Cross-process messages wait for the other thread; a hung target must not hang the test.
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

bool force_foreground(HWND window, std::chrono::milliseconds patience) {
  return wait_until(
      [window] {
        if (::GetForegroundWindow() == window) return true;
        if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
        if (::SetForegroundWindow(window) && ::GetForegroundWindow() == window) return true;
        // Refused: share the input state of the foreground thread for the moment of the change.
        const DWORD own_thread = ::GetCurrentThreadId();
        const DWORD foreground_thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
        const bool attached = foreground_thread != 0 && foreground_thread != own_thread &&
                              ::AttachThreadInput(own_thread, foreground_thread, TRUE);
        ::BringWindowToTop(window);
        ::SetForegroundWindow(window);
        if (attached) ::AttachThreadInput(own_thread, foreground_thread, FALSE);
        return ::GetForegroundWindow() == window;
      },
      patience, 100ms);
}

bool type_keys(std::wstring_view text) {
  struct Stroke {
    BYTE key;
    BYTE shift_state;  // 1 Shift, 2 Ctrl, 4 Alt, as VkKeyScanW reports them
  };
  std::vector<Stroke> strokes;
  for (wchar_t character : text) {
    const SHORT scan = ::VkKeyScanW(character);
    if (scan == -1) return false;
    strokes.push_back({LOBYTE(scan), HIBYTE(scan)});
  }
  static constexpr struct {
    BYTE flag;
    BYTE key;
  } kModifiers[] = {{1, VK_SHIFT}, {2, VK_CONTROL}, {4, VK_MENU}};
  for (const Stroke& stroke : strokes) {
    for (const auto& modifier : kModifiers) {
      if (stroke.shift_state & modifier.flag) key_event(modifier.key, false);
    }
    key_event(stroke.key, false);
    key_event(stroke.key, true);
    for (const auto& modifier : kModifiers) {
      if (stroke.shift_state & modifier.flag) key_event(modifier.key, true);
    }
  }
  return true;
}

bool type_unicode(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t character : text) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = character;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  }
  if (inputs.empty()) return true;
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

std::wstring windows_path(std::wstring path) {
  if (!path.empty() && path.front() == L'/') path = L"Z:" + path;
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

std::wstring temp_file(const std::wstring& name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

void write_file(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string read_file(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file, &size);
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  ::CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

}  // namespace dorovev::wintest
