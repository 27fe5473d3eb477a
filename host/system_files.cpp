// File operations for the container and the self-replacement hand-off.
#include "host/system_files.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "host/host_services.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace dorovev::host {

using win32::from_wide;
using win32::wide;

std::u16string program_path() {
  std::vector<wchar_t> path(32768);
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  return from_wide(path.data(), length);
}

std::optional<std::string> SystemFiles::read_file(std::u16string_view path) {
  return win32::Win32Platform().read_file(path);
}

bool SystemFiles::write_file(std::u16string_view path, std::string_view bytes) {
  const std::wstring target = wide(path);
  const std::wstring temporary = target + L".partial";
  {
    win32::UniqueFileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
        file.reset();
        ::DeleteFileW(temporary.c_str());
        return false;
      }
      done += written;
    }
  }
  if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool SystemFiles::set_current_directory(std::u16string_view path) {
  return ::SetCurrentDirectoryW(wide(path).c_str()) != FALSE;
}

bool SystemFiles::file_exists(std::u16string_view path) {
  return ::GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SystemFiles::delete_file(std::u16string_view path) { return ::DeleteFileW(wide(path).c_str()) != FALSE; }

void SystemFiles::clear_read_only(std::u16string_view path) {
  const std::wstring name = wide(path);
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    ::SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
}

void SystemFiles::delay(std::uint32_t milliseconds) {
  const DWORD end = ::GetTickCount() + milliseconds;
  do {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(1);
  } while (static_cast<std::int32_t>(end - ::GetTickCount()) > 0);
}

bool SystemFiles::start_program(std::u16string_view path, std::u16string_view argument) {
  std::wstring parameter = wide(argument);
  if (parameter.find(L' ') != std::wstring::npos) parameter = L"\"" + parameter + L"\"";
  const auto started = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", wide(path).c_str(), parameter.c_str(), nullptr, SW_SHOWNORMAL));
  return started > 32;
}

void SystemFiles::run_and_wait(std::u16string_view command_line) { run_program(command_line, SW_SHOWNORMAL, true); }

void SystemFiles::append_to_path(std::u16string_view text) {
  std::vector<wchar_t> value(::GetEnvironmentVariableW(L"PATH", nullptr, 0) + 1);
  const DWORD length = ::GetEnvironmentVariableW(L"PATH", value.data(), static_cast<DWORD>(value.size()));
  const std::wstring path = std::wstring(value.data(), length < value.size() ? length : 0) + wide(text);
  ::SetEnvironmentVariableW(L"PATH", path.c_str());
}

void* SystemFiles::load_library(std::u16string_view path) { return ::LoadLibraryW(wide(path).c_str()); }

void SystemFiles::free_library(void* library) { ::FreeLibrary(static_cast<HMODULE>(library)); }

std::u16string system_directory() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  return length < MAX_PATH ? from_wide(folder, length) : std::u16string();
}

}  // namespace dorovev::host
