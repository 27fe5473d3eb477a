// TShellFileOp: the shell's file operation with explicit collision names.
//
// With RenameOnCollision the shell is asked to give a copy, move or rename a free name
// when its target exists. Not every shell does it (Wine's overwrites the target, and
// refuses a copy of a file onto itself), and an overwritten target is lost data, so the
// operation works the names out first: every source (wildcards expanded) gets the
// target the shell would give it, and one that exists is replaced by the first free
// "name - Copy (n).ext" beside it; the shell then receives the pairs one to one. Without
// any collision the shell gets the source and target as written.
#include "commands/files/shell_file_op.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "commands/files/find_files.h"
#include "platform/win32/wide.h"
#include "values/file_names.h"

namespace dorovev::files {
namespace {

bool exists(const std::u16string& path) {
  return ::GetFileAttributesW(win32::wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool is_directory(const std::u16string& path) {
  const DWORD attributes = ::GetFileAttributesW(win32::wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string join_path(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (!path.empty() && path.back() != u'\\' && path.back() != u':') path += u'\\';
  path += name;
  return path;
}

// The shell's list: each text null-ended, the whole list ended by one more null.
std::wstring shell_list(const std::vector<std::u16string>& paths) {
  std::wstring list;
  for (const std::u16string& path : paths) {
    list += win32::wide(path);
    list += L'\0';
  }
  list += L'\0';
  return list;
}

struct Pair {
  std::u16string source;
  std::u16string target;
  bool collided;
};

// The pairs of a copy, move or rename as the shell would make them: into the target
// folder when it is one (or when several sources go to it), onto the target otherwise.
std::vector<Pair> pairs_for(const std::set<std::u16string>& sources, const std::u16string& target, bool rename,
                            bool files_only) {
  std::vector<Pair> pairs;
  for (const std::u16string& source : sources) {
    const std::u16string_view folder = folder_part(source);
    for (const FoundEntry& entry : find_entries(source)) {
      if (files_only && entry.is_directory) continue;
      pairs.push_back({join_path(folder, entry.name), {}, false});
    }
  }
  const bool into_folder = !rename && (is_directory(target) || pairs.size() > 1);
  for (Pair& pair : pairs) {
    pair.target = into_folder ? join_path(target, name_part(pair.source)) : target;
    pair.collided = exists(pair.target);
  }
  return pairs;
}

// The first "name - Copy (n).ext" beside `taken` that names nothing yet.
std::u16string free_name(const std::u16string& taken, bool is_folder) {
  const std::u16string_view folder = folder_part(taken);
  const std::u16string_view name = name_part(taken);
  for (int attempt = 1;; ++attempt) {
    std::u16string candidate(folder);
    candidate += copy_name(name, is_folder, attempt);
    if (!exists(candidate)) return candidate;
  }
}

}  // namespace

bool TShellFileOp::run(Operation operation) {
  static constexpr UINT kFunctions[] = {FO_COPY, FO_MOVE, FO_RENAME, FO_DELETE};
  const bool deleting = operation == Operation::kDelete;
  FILEOP_FLAGS flags = 0;
  if (FilesOnly) flags |= FOF_FILESONLY;
  if (NoConfirmation) flags |= FOF_NOCONFIRMATION;
  if (AutoMakeDir && !deleting) flags |= FOF_NOCONFIRMMKDIR;
  if (RenameOnCollision && !deleting) flags |= FOF_RENAMEONCOLLISION;
  if (!Animate) flags |= FOF_SILENT;
  if (!ProgressTitle.empty()) flags |= FOF_SIMPLEPROGRESS;

  std::vector<std::u16string> from(sources_.begin(), sources_.end());
  std::vector<std::u16string> to{target_};
  if (RenameOnCollision && !deleting) {
    std::vector<Pair> pairs = pairs_for(sources_, target_, operation == Operation::kRename, FilesOnly);
    bool any_collision = false;
    for (const Pair& pair : pairs) any_collision = any_collision || pair.collided;
    if (any_collision) {
      from.clear();
      to.clear();
      for (Pair& pair : pairs) {
        from.push_back(pair.source);
        to.push_back(pair.collided ? free_name(pair.target, is_directory(pair.source)) : pair.target);
      }
      flags |= FOF_MULTIDESTFILES;
    }
  }
  sources_.clear();
  if (from.empty()) return false;

  const std::wstring from_list = shell_list(from);
  const std::wstring to_list = shell_list(to);
  const std::wstring title = win32::wide(ProgressTitle);
  SHFILEOPSTRUCTW operation_record{};
  operation_record.hwnd = nullptr;
  operation_record.wFunc = kFunctions[static_cast<int>(operation)];
  operation_record.pFrom = from_list.c_str();
  operation_record.pTo = deleting ? nullptr : to_list.c_str();
  operation_record.fFlags = flags;
  operation_record.lpszProgressTitle = ProgressTitle.empty() ? nullptr : title.c_str();
  const int result = ::SHFileOperationW(&operation_record);
  return result == 0 && !operation_record.fAnyOperationsAborted;
}

TShellFileOp& ShellFileOp1() {
  static TShellFileOp instance;
  return instance;
}

}  // namespace dorovev::files
