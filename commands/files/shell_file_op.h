// TShellFileOp: copy, move, rename and delete through the shell's file operation, with
// the settings of the main window's instance, ShellFileOp1.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace dorovev::files {

class TShellFileOp {
 public:
  enum class Operation { kCopy, kMove, kRename, kDelete };

  // The properties and the operation flags they give.
  bool FilesOnly = false;          // wildcards do not match folders
  bool NoConfirmation = true;      // yes to every question
  bool AutoMakeDir = false;        // missing target folders made without asking
  bool RenameOnCollision = true;   // a target that exists keeps its file; the new one gets a free name
  bool Animate = false;            // false: silent, no progress window
  std::u16string ProgressTitle;    // not empty: a simple progress window with this title

  // An empty path is no source.
  void add_source(std::u16string_view path) {
    if (!path.empty()) sources_.emplace(path);
  }
  void set_target(std::u16string_view target) { target_ = target; }

  // Runs the operation on the sources and the target, then forgets the sources. True
  // when the shell reported success and nothing was aborted; the commands ignore it.
  bool run(Operation operation);

 private:
  std::set<std::u16string> sources_;  // sorted, without duplicates
  std::u16string target_;
};

// The instance the file commands share, as the main window has it.
TShellFileOp& ShellFileOp1();

}  // namespace dorovev::files
