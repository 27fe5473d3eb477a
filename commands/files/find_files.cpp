// Searching a folder with FindFirstFile.
#include "commands/files/find_files.h"

#include "platform/win32/wide.h"

namespace dorovev::files {
namespace {

bool is_dot_entry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

}  // namespace

std::vector<FoundEntry> find_entries(std::u16string_view pattern) {
  std::vector<FoundEntry> entries;
  if (pattern.empty()) return entries;
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileW(win32::wide(pattern).c_str(), &data));
  if (!search) return entries;
  do {
    if (is_dot_entry(data.cFileName)) continue;
    entries.push_back({win32::from_wide(data.cFileName, ::wcslen(data.cFileName)), data.dwFileAttributes,
                       (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileW(search.get(), &data));
  return entries;
}

bool matches_anything(std::u16string_view pattern) {
  if (pattern.empty()) return false;
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileW(win32::wide(pattern).c_str(), &data));
  return static_cast<bool>(search);
}

}  // namespace dorovev::files
