// Searching a folder with FindFirstFile: the entries a pattern matches, with every
// attribute (hidden and system included), "." and ".." left out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace dorovev::files {

struct FindHandleTraits {
  using Value = HANDLE;
  static Value invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Value value) noexcept { ::FindClose(value); }
};
using UniqueFindHandle = win32::UniqueResource<FindHandleTraits>;

struct FoundEntry {
  std::u16string name;
  DWORD attributes;
  std::uint64_t size;
  bool is_directory;
};

// The entries in the order the file system gives them; none when nothing matches.
std::vector<FoundEntry> find_entries(std::u16string_view pattern);

// Whether the pattern matches anything at all ("." and ".." count).
bool matches_anything(std::u16string_view pattern);

}  // namespace dorovev::files
