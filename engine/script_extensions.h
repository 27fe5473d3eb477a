// Places where line handling hands work to subsystems built on top of the interpreter.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/line_list.h"

namespace dorovev {

class RunContext;

// The interpreter calls these at fixed points of a run. Until the subsystem that fills
// one exists, its default does nothing and the line goes on as an ordinary line.
class ScriptExtensions {
 public:
  virtual ~ScriptExtensions() = default;

  // The preparation of a run, before its variables exist: the text-capture library is
  // loaded for the run if it is not loaded yet (release_run_resources unloads it), the
  // script control for VBScript is created, and a running screen saver is put away and
  // switched off for the run.
  virtual void load_text_capture() {}
  virtual void create_script_control() {}
  virtual void put_screen_saver_away() {}
  // Later in the preparation, once the system variables exist: the declarations of the
  // DLL functions in the imports folder are read.
  virtual void read_imports_folder() {}

  // Every fetched line, after the comment steps and before include and the name rules:
  // a line whose command name is a declared imported DLL function runs as that call.
  virtual void offer_imported_function_call(std::u16string_view /*line*/) {}

  // A line with code DIA: the dialog builder takes the lines from `after` up to the
  // matching dialog end. Returns the index of the line to run next.
  virtual std::size_t consume_dialog_block(const LineList& /*lines*/, std::size_t after) { return after; }

  // A line with code VBS: the lines up to VBEND are one VBScript source for the script
  // host. Returns the index of the line to run next.
  virtual std::size_t consume_vbscript_block(const LineList& /*lines*/, std::size_t after) { return after; }

  // The tests behind the one-line conditions: IfWindowOpen (a window matches the
  // resolved subject, under the run's matching settings), IfFileExists (a file or directory matches, wildcards allowed) and
  // IfFileChanged (given its whole parameter text, which it resolves and reports on in
  // `run`). The window and file commands fill these in; until then nothing matches.
  virtual bool window_exists(RunContext& /*run*/, std::u16string_view /*subject*/) { return false; }
  virtual bool file_exists(std::u16string_view /*subject*/) { return false; }
  virtual bool file_changed(RunContext& /*run*/, std::u16string_view /*parameters*/) { return false; }

  // The end of a run: keys, dialogs, DLLs, sessions and connections that belong to the
  // run are released here by the subsystems that made them.
  virtual void release_run_resources() {}
};

}  // namespace dorovev
