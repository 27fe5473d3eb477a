// GetFileList> and the file count: the entries a pattern matches, listed or counted.
#include <string>
#include <vector>

#include "commands/files/file_command_parts.h"
#include "commands/files/find_files.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/comma_split.h"
#include "values/file_names.h"

namespace dorovev::files {
namespace {

using namespace codes;

// `pattern,result[,delimiter]`: the files (folders when GFL_TYPE is 1) the pattern
// matches, each with the pattern's folder in front, the last found first.
void file_list_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text pattern = run.resolve(split.first);
  const CommaSplit result = split_at_first_comma(split.rest);
  std::u16string delimiter = u";";
  if (split.rest.find(u',') != std::u16string_view::npos) delimiter = run.resolve(result.rest).str();
  const bool folders = run.setting_is_on(u"GFL_TYPE");

  std::vector<std::u16string> names;
  for (FoundEntry& entry : find_entries(pattern.view())) {
    if (entry.is_directory == folders) names.push_back(std::move(entry.name));
  }
  AssignVariable(run.variables, result.first, join_in_reverse(listing_prefix(pattern.view()), names, delimiter));
}

// The files of directory + mask, and with `subfolders` those of every folder below that
// is neither hidden nor system, depth first. Folders that are reparse points (junctions,
// links) are not entered: one that points back up would make the count endless.
std::int64_t count_files(const CountSearch& search, bool subfolders) {
  std::int64_t count = 0;
  std::vector<std::u16string> pending{search.directory};
  while (!pending.empty()) {
    const std::u16string directory = std::move(pending.back());
    pending.pop_back();
    for (const FoundEntry& entry : find_entries(directory + search.mask)) {
      if (!entry.is_directory) ++count;
    }
    if (!subfolders) continue;
    const std::vector<FoundEntry> below = find_entries(directory + u"*.*");
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
    for (auto entry = below.rbegin(); entry != below.rend(); ++entry) {
      if (entry->is_directory && !(entry->attributes & kSkipped)) pending.push_back(directory + entry->name + u"\\");
    }
  }
  return count;
}

// `pattern,result,subfolders`. The two-piece form stores the count in its second piece
// and searches no subfolders.
void count_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text pattern = run.resolve(split.first);
  const CommaSplit rest = split_at_first_comma(split.rest);
  const bool subfolders = run.resolve(split_at_first_comma(rest.rest).first) == std::u16string_view(u"1");
  const CountSearch search = split_count_pattern(pattern.view(), run.platform.current_directory());
  AssignVariable(run.variables, rest.first, decimal(count_files(search, subfolders)));
}

}  // namespace

void register_list_commands(CommandTable& table) {
  table.add(u"GFL"_code, file_list_command);
  table.add(u"COU"_code, count_command);
}

}  // namespace dorovev::files
