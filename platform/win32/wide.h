// The one place where UTF-16 text of the core meets the wchar_t of the Win32 API.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 code units");

namespace dorovev::win32 {

// A null-terminated copy for a Win32 call; the pointer lives as long as the returned string.
inline std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string from_wide(const wchar_t* text, std::size_t size) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), size);
}

inline std::u16string from_wide(const std::wstring& text) { return from_wide(text.data(), text.size()); }

}  // namespace dorovev::win32
