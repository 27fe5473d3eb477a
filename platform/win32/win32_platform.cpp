// The platform seam over kernel32 and shell32.
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>

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
  const int needed = ::WideCharToMultiByte(CP_ACP, 0, source.data(), size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, source.data(), size, bytes.data(), needed, nullptr, nullptr);
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

}  // namespace dorovev::win32
