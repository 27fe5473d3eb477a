// The file-name texts of the file commands: the entries of a file list and their join,
// the folder and mask of a count, the free name of a copy, and the day comparison of
// IfFileChanged>. Paths are Windows paths; only `\` and the drive's `:` separate.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "values/short_date.h"

namespace dorovev {

// The text before an entry of a file list: the folder part of the pattern (up to its
// last `\` or `:`), followed by one backslash unless it already ends in one. A pattern
// without a folder part gives a lone backslash.
std::u16string listing_prefix(std::u16string_view pattern);

// The entries, each behind the prefix, joined by the delimiter in the reverse of their
// order (the last found comes first).
std::u16string join_in_reverse(std::u16string_view prefix, const std::vector<std::u16string>& names,
                               std::u16string_view delimiter);

// The folder and mask of a counted pattern: the folder part up to and including its last
// `\` or `:` (`current_directory` when there is none), always ending in a backslash, and
// the name part, `*.*` when empty.
struct CountSearch {
  std::u16string directory;
  std::u16string mask;
};
CountSearch split_count_pattern(std::u16string_view pattern, std::u16string_view current_directory);

// The name of the file or folder part of `path` (after its last `\` or `:`), and the rest.
std::u16string_view name_part(std::u16string_view path) noexcept;
std::u16string_view folder_part(std::u16string_view path) noexcept;  // with its separator

// The `attempt`-th free name for a copy of the entry `name` (a file name, or a folder
// name when `is_folder`): "a - Copy.txt" first, then "a - Copy (2).txt" and so on. A
// folder's name, or one whose only dot leads it, keeps no extension apart.
std::u16string copy_name(std::u16string_view name, bool is_folder, int attempt);

// IfFileChanged>: whether a file last written on `file_day` passes the comparison
// `spec` on `today`. The first character of spec picks the comparison, `<` (written
// after the day n days before today), `>` (before it) or `=`; any other first character
// means `=` with the whole spec as n. n is read as integer-or-zero.
bool changed_since(CalendarDate file_day, CalendarDate today, std::u16string_view spec);

}  // namespace dorovev
