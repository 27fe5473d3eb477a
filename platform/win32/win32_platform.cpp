// The platform seam over kernel32 and shell32.
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace dorovev::win32 {

std::uint32_t Win32Platform::tick_count() { return ::GetTickCount(); }

std::vector<std::u16string> Win32Platform::command_line_arguments() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::u16string> result;
  if (!arguments) return result;
  // The first argument is the program itself.
  for (int i = 1; i < count; ++i) result.push_back(from_wide(arguments[i], ::wcslen(arguments[i])));
  ::LocalFree(arguments);
  return result;
}

std::u16string Win32Platform::ansi_to_text(std::string_view bytes) {
  if (bytes.empty()) return {};
  if (bytes.size() > INT_MAX) return {};
  const int size = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), needed);
  return from_wide(text);
}

std::string Win32Platform::text_to_ansi(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX) return {};
  const std::wstring source = wide(text);
  const int size = static_cast<int>(source.size());
  // A character the code page lacks becomes `?`, not a letter that merely looks like it.
  const int needed =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, source.data(), size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, source.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

bool Win32Platform::file_exists(std::u16string_view path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32Platform::read_file(std::u16string_view path) {
  UniqueFileHandle file(::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::string().max_size()) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32Platform::write_file(std::u16string_view path, std::string_view bytes) {
  UniqueFileHandle file(
      ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool Win32Platform::directory_exists(std::u16string_view path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::create_directory(std::u16string_view path) {
  return ::CreateDirectoryW(wide(path).c_str(), nullptr) != FALSE;
}

std::u16string Win32Platform::current_directory() {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring directory(needed, L'\0');
  const DWORD length = ::GetCurrentDirectoryW(needed, directory.data());
  directory.resize(length < needed ? length : 0);
  return from_wide(directory);
}

bool Win32Platform::set_current_directory(std::u16string_view path) {
  return ::SetCurrentDirectoryW(wide(path).c_str()) != FALSE;
}

namespace {

// The system message box has no OK and Abort pair; the dialog shows OK and Cancel and a
// hook renames Cancel to Abort as the box is activated.
thread_local HHOOK abort_button_hook = nullptr;

LRESULT CALLBACK rename_cancel_to_abort(int code, WPARAM wparam, LPARAM lparam) noexcept {
  if (code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wparam);
    ::SetDlgItemTextW(box, IDCANCEL, L"Abort");
    ::UnhookWindowsHookEx(abort_button_hook);
    abort_button_hook = nullptr;
    return 0;
  }
  return ::CallNextHookEx(abort_button_hook, code, wparam, lparam);
}

}  // namespace

namespace {

// Unattended runs: when DOROVEV_UNATTENDED names a file, a dialog is appended to it as one
// UTF-8 line (kind, buttons and text separated by tabs, line breaks written as \n) and
// answered with its first button.
std::wstring unattended_file() {
  const DWORD size = ::GetEnvironmentVariableW(L"DOROVEV_UNATTENDED", nullptr, 0);
  if (size == 0) return {};
  std::wstring path(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(L"DOROVEV_UNATTENDED", path.data(), size);
  path.resize(length < size ? length : 0);
  return path;
}

std::string utf8(std::u16string_view text) {
  if (text.empty()) return {};
  const std::wstring source = wide(text);
  const int size = static_cast<int>(source.size());
  const int needed = ::WideCharToMultiByte(CP_UTF8, 0, source.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, source.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

MessageButton record_unattended(const std::wstring& file, std::u16string_view text, MessageKind kind,
                                MessageButtons buttons) {
  static constexpr const char* kKinds[] = {"warning", "error", "information", "plain"};
  static constexpr const char* kButtons[] = {"OK", "OK Abort", "Abort Ignore"};
  std::string line = std::string(kKinds[static_cast<int>(kind)]) + "\t" + kButtons[static_cast<int>(buttons)] + "\t";
  for (char c : utf8(text)) {
    if (c == '\r') continue;
    if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  line += "\n";
  UniqueFileHandle log(::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (log) ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return buttons == MessageButtons::kAbortIgnore ? MessageButton::kAbort : MessageButton::kOk;
}

}  // namespace

MessageButton Win32Platform::show_message_dialog(std::u16string_view text, MessageKind kind, MessageButtons buttons) {
  if (const std::wstring file = unattended_file(); !file.empty()) return record_unattended(file, text, kind, buttons);
  UINT style = MB_TOPMOST | MB_SETFOREGROUND | MB_TASKMODAL;
  switch (kind) {
    case MessageKind::kWarning: style |= MB_ICONWARNING; break;
    case MessageKind::kError: style |= MB_ICONERROR; break;
    case MessageKind::kInformation: style |= MB_ICONINFORMATION; break;
    case MessageKind::kPlain: break;
  }
  switch (buttons) {
    case MessageButtons::kOk: style |= MB_OK; break;
    case MessageButtons::kOkAbort: style |= MB_OKCANCEL; break;  // Cancel stands for Abort
    case MessageButtons::kAbortIgnore: style |= MB_ABORTRETRYIGNORE; break;
  }
  if (buttons == MessageButtons::kOkAbort) {
    abort_button_hook = ::SetWindowsHookExW(WH_CBT, rename_cancel_to_abort, nullptr, ::GetCurrentThreadId());
  }
  const int answer = ::MessageBoxW(nullptr, wide(text).c_str(), wide(title_).c_str(), style);
  if (abort_button_hook) {
    ::UnhookWindowsHookEx(abort_button_hook);
    abort_button_hook = nullptr;
  }
  switch (answer) {
    case IDCANCEL:
    case IDABORT: return MessageButton::kAbort;
    case IDIGNORE:
    case IDRETRY: return MessageButton::kIgnore;
    default: return MessageButton::kOk;
  }
}

void Win32Platform::process_messages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void Win32Platform::sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

// A look at an empty queue is a trip to the window server under Wine (some 30
// microseconds, more than a simple line takes), so between lines the queue is looked at
// once per millisecond; the performance counter is read without leaving the process.
void Win32Platform::yield_between_lines() {
  ::Sleep(0);
  static const long long ticks_per_millisecond = [] {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return std::max<long long>(frequency.QuadPart / 1000, 1);
  }();
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  if (now.QuadPart < next_look_) return;
  next_look_ = now.QuadPart + ticks_per_millisecond;
  process_messages();
}

char16_t Win32Platform::decimal_separator() {
  wchar_t separator[4] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) < 2) return u'.';
  return static_cast<char16_t>(separator[0]);
}

std::u16string Win32Platform::short_date_format() {
  wchar_t format[80] = {};
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, 80);
  if (length < 2) return u"M/d/yyyy";
  return from_wide(format, static_cast<std::size_t>(length - 1));
}

namespace {

// A text of the user's locale; `fallback` when the system has none.
std::u16string locale_text(LCTYPE item, std::u16string_view fallback) {
  const int needed = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, nullptr, 0);
  if (needed <= 0) return std::u16string(fallback);
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text.data(), needed);
  if (length <= 0) return std::u16string(fallback);
  return from_wide(text.data(), static_cast<std::size_t>(length - 1));  // without the terminating null
}

}  // namespace

std::u16string Win32Platform::long_time_format() {
  std::u16string format = locale_text(LOCALE_STIMEFORMAT, u"h:mm:ss tt");
  return format.empty() ? u"h:mm:ss tt" : format;
}

// The designators may be empty (locales that use the 24-hour clock); they are kept so.
TimeDesignators Win32Platform::time_designators() {
  return {locale_text(LOCALE_S1159, u"AM"), locale_text(LOCALE_S2359, u"PM")};
}

void Win32Platform::set_application_title(std::u16string_view title) { title_ = title; }

namespace {

// Calls a Win32 function that fills a buffer of MAX_PATH characters and returns the length.
template <typename Fill>
std::u16string path_from(Fill fill) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = fill(buffer, MAX_PATH + 1);
  return length == 0 || length > MAX_PATH ? std::u16string() : from_wide(buffer, length);
}

std::u16string special_folder(int folder) {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  return from_wide(buffer, ::wcslen(buffer));
}

std::u16string ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// "NT.6.1.7601": the platform, then major, minor and build, as the version call reports them.
std::u16string os_text() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&version)) return {};
#pragma GCC diagnostic pop
  static constexpr const char* kPlatforms[] = {"Win32S", "95/98", "NT"};
  const std::string platform = version.dwPlatformId < 3 ? kPlatforms[version.dwPlatformId] : "";
  const std::string text = platform + "." + std::to_string(version.dwMajorVersion) + "." +
                           std::to_string(version.dwMinorVersion) + "." + std::to_string(version.dwBuildNumber);
  return ascii(text.substr(0, 100));
}

}  // namespace

SystemInfo Win32Platform::system_info() {
  SystemInfo info;
  info.os_text = os_text();
  info.windows_dir = path_from([](wchar_t* buffer, UINT size) { return ::GetWindowsDirectoryW(buffer, size); });
  info.system_dir = path_from([](wchar_t* buffer, UINT size) { return ::GetSystemDirectoryW(buffer, size); });
  info.temp_dir = path_from([](wchar_t* buffer, UINT size) { return ::GetTempPathW(size, buffer); });
  while (!info.temp_dir.empty() && info.temp_dir.back() <= u' ') info.temp_dir.pop_back();
  info.documents_dir = special_folder(CSIDL_PERSONAL);
  info.desktop_dir = special_folder(CSIDL_DESKTOP);
  wchar_t user[256] = {};
  DWORD user_size = 256;
  if (::GetUserNameW(user, &user_size) && user_size > 0) info.user_name = from_wide(user, user_size - 1);
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD computer_size = MAX_COMPUTERNAME_LENGTH + 1;
  info.computer_name = ::GetComputerNameW(computer, &computer_size) ? from_wide(computer, computer_size) : u"ERR";
  const wchar_t* command_line = ::GetCommandLineW();
  info.command_line = from_wide(command_line, ::wcslen(command_line));
  wchar_t module[32768] = {};
  const DWORD module_length = ::GetModuleFileNameW(nullptr, module, 32768);
  if (module_length > 0 && module_length < 32768) info.executable_path = from_wide(module, module_length);
  return info;
}

std::uint32_t Win32Platform::random_seed_source() {
  LARGE_INTEGER counter{};
  if (::QueryPerformanceCounter(&counter)) return static_cast<std::uint32_t>(counter.QuadPart);
  return ::GetTickCount();
}

Platform::IdleCounters Win32Platform::idle_counters() {
  if (idle_counters_) return *idle_counters_;
  LASTINPUTINFO last{sizeof(LASTINPUTINFO), 0};
  // Without a time of the last input, the desktop counts as long left alone.
  if (!::GetLastInputInfo(&last)) return {2147483640, 2147483640};
  const auto seconds = static_cast<std::int32_t>(std::min<DWORD>((::GetTickCount() - last.dwTime) / 1000, 2147483640));
  return {seconds, seconds};
}

bool Win32Platform::foreground_is_own() {
  const HWND foreground = ::GetForegroundWindow();
  return foreground && ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId();
}

void Win32Platform::attach_to_foreground_input(bool attach) {
  if (attach) {
    const HWND foreground = ::GetForegroundWindow();
    const DWORD thread = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    if (thread && thread != ::GetCurrentThreadId() && ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE)) {
      attached_thread_ = thread;
    }
  } else if (attached_thread_) {
    ::AttachThreadInput(::GetCurrentThreadId(), attached_thread_, FALSE);
    attached_thread_ = 0;
  }
}

bool Win32Platform::set_run_indicator(bool on) { return std::exchange(run_indicator_, on); }

LocalTime Win32Platform::local_time() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

bool Win32Platform::append_file(std::u16string_view path, std::string_view bytes) {
  UniqueFileHandle file(::CreateFileW(wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.size() <= 0x7FFFFFFF &&
         ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace dorovev::win32
