// The hand-off by which a program replaces its own file, which Windows does not let a
// running program overwrite.
//
// Three starts of the program take part:
//   1. The program P that wants a new file (for example with new sections) writes its
//      image as "temp0a0.exe" in its own directory, starts that copy with P's full path
//      as the only argument, and ends (begin_self_replacement).
//   2. The copy, seeing its own name, loads its own file, deletes P's file (retrying
//      while P is still ending and holds it), writes its image there, starts P with the
//      argument "deltemp", and ends (perform_start_up_hand_off).
//   3. P, started with "deltemp", deletes the copy and goes on with its normal start-up
//      (perform_start_up_hand_off).
// Each deletion is retried every 10 milliseconds, clearing a read-only attribute, but only
// a bounded number of times: a file that can never be deleted ends the hand-off with a
// result that names it, instead of keeping the program waiting forever.
//
// The container holds the protocol, so that it is tested natively with a fake; the host
// provides the system side (SelfReplacementSystem) and, before anything else at program
// start, does:
//
//   ScriptImage image(system, full path of the running program);
//   HandOffResult result = perform_start_up_hand_off(system, image, first argument);
//   if (!result.message().empty()) show it;
//   if (result.ends_program()) end the process with exit code 0;
//
// taking the first argument as the system splits the command line (so that a quoted path
// with blanks arrives whole), empty when there is none, and keeping `image` as the
// process's one image from which start-up then reads its sections.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "container/script_container.h"

namespace dorovev {

// What the hand-off needs from the system besides reading and writing whole files. The
// Windows host implements it with GetFileAttributesW, DeleteFileW, SetFileAttributesW,
// the pumped wait and ShellExecuteW.
class SelfReplacementSystem : public ImageFiles {
 public:
  virtual bool file_exists(std::u16string_view path) = 0;
  // False when the file could not be deleted.
  virtual bool delete_file(std::u16string_view path) = 0;
  // Clears the file's read-only attribute when it is set.
  virtual void clear_read_only(std::u16string_view path) = 0;
  // Waits while processing the window messages that arrive.
  virtual void delay(std::uint32_t milliseconds) = 0;
  // Starts the program through the shell with the verb "open" and a normal window,
  // giving it `argument` as its one command-line argument: the host quotes it when it
  // holds blanks (a program path such as "C:\Program Files\m.exe"), so that the started
  // program reads it back whole. False when the program could not be started.
  virtual bool start_program(std::u16string_view path, std::u16string_view argument) = 0;
};

// The name of the copy, in the program's directory, and the argument that tells the
// restarted program to delete it.
inline constexpr std::u16string_view kReplacementCopyName = u"temp0a0.exe";
inline constexpr std::u16string_view kDeleteCopyArgument = u"deltemp";

struct HandOffLimits {
  // How many times a file is tried before the hand-off gives up on it: with the wait
  // between tries, about half a minute for a program that is still ending.
  std::uint32_t delete_attempts = 3000;
  std::uint32_t retry_milliseconds = 10;
};

enum class HandOffOutcome {
  kNone,                // no hand-off was asked for
  kCopyDeleted,         // started with "deltemp": the copy is gone (or was never there)
  kCopyNotDeleted,      // started with "deltemp": the copy could not be deleted
  kReplaced,            // the copy wrote the program's file and started it
  kNoTarget,            // the copy was started without the path of the file to replace
  kOwnFileUnreadable,   // the copy could not read its own file
  kTargetNotDeleted,    // the file to replace could not be deleted; it is unchanged
  kTargetNotWritten,    // the file to replace was deleted but could not be written
  kTargetNotStarted,    // the file was replaced but could not be started
  kCopyStarted,         // the copy was written and started: the program ends now
  kCopyNotWritten,      // the copy could not be written; nothing was started
  kCopyNotStarted,      // the copy was written but could not be started
  kProgramNotRead,      // the program's own file could not be read; nothing was written
};

struct HandOffResult {
  HandOffOutcome outcome = HandOffOutcome::kNone;
  std::u16string path;  // the file the outcome is about; empty for kNone and kNoTarget

  // Whether the program must end at once (after showing message() when there is one):
  // it has handed its work to another start of itself, or it is the copy and its part is
  // over. Otherwise it goes on: with its normal start-up, or with its run after a failed
  // begin_self_replacement.
  bool ends_program() const noexcept;
  // What went wrong, for the host to show (through the message translation, like any
  // text it shows); empty when nothing did.
  std::u16string message() const;
};

// At program start, before anything else: sets the current directory to the program's
// directory, then deletes the copy when `first_argument` is exactly "deltemp", and, when
// the program's own file is the copy (its name upper-cased is "TEMP0A0.EXE"), replaces
// the file named by `first_argument` with the copy's own file and starts it with
// "deltemp". `first_argument` is the first command-line argument, empty when there is
// none. The image ends up holding the copy's own file when it is the copy.
HandOffResult perform_start_up_hand_off(SelfReplacementSystem& system, ScriptImage& image,
                                        std::u16string_view first_argument, const HandOffLimits& limits = {});

// The first step: writes the image (the program's own file when nothing else is loaded)
// as the copy in the program's directory and starts it with the program's path. On
// kCopyStarted the program must end at once, so that its file can be deleted.
HandOffResult begin_self_replacement(SelfReplacementSystem& system, ScriptImage& image);

}  // namespace dorovev
