// The runtimes a compiled macro may carry with it: the VBScript runtime files (sections
// VB1 to VB3), installed on a computer that lacks them, and the text-capture libraries
// (GW2 and GW5), put into the temporary folder for the run and removed after it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "container/script_container.h"

namespace dorovev {

// What unpacking needs from the system. The Windows host implements it with the file
// functions, "Run a program", the PATH variable and LoadLibraryW.
class RuntimeSystem {
 public:
  virtual ~RuntimeSystem() = default;
  virtual bool file_exists(std::u16string_view path) = 0;
  // Creates or replaces the file; false when it cannot.
  virtual bool write_file(std::u16string_view path, std::string_view bytes) = 0;
  virtual bool delete_file(std::u16string_view path) = 0;
  // Runs the command line in a normal window and waits until it ends.
  virtual void run_and_wait(std::u16string_view command_line) = 0;
  // Appends the text to the process's PATH variable.
  virtual void append_to_path(std::u16string_view text) = 0;
  // Loads the library (a full path or a bare name); null when it cannot be loaded.
  virtual void* load_library(std::u16string_view path) = 0;
  virtual void free_library(void* library) = 0;
};

// A carried file: its section and its name on disk.
struct RuntimeFile {
  std::string_view section;
  std::u16string_view name;
};

// In this order: the compiler adds them so, start-up writes and registers them so.
inline constexpr RuntimeFile kVBScriptRuntimes[] = {
    {"vb1", u"vbscript.dll"}, {"vb2", u"msscript.ocx"}, {"vb3", u"scrrun.dll"}};
inline constexpr RuntimeFile kTextCaptureLibraries[] = {{"gw2", u"GetWordNT.dll"}, {"gw5", u"ICall.dll"}};

// The directory and the name joined by one backslash.
std::u16string path_in(std::u16string_view directory, std::u16string_view name);

// Whether the directory holds every one of the files.
bool runtime_files_present(RuntimeSystem& system, std::u16string_view directory, std::span<const RuntimeFile> files);

// VBScript is available when the system directory holds all three runtime files.
bool vbscript_runtimes_installed(RuntimeSystem& system, std::u16string_view system_directory);

// When the image carries all three VBScript runtimes and VBScript is not `available`:
// writes them into the system directory (a file that cannot be written is passed over),
// registers each with "regsvr32.exe /s" and its quoted path, in order, and gives true.
// Otherwise gives `available` unchanged.
bool install_vbscript_runtimes(ScriptImage& image, RuntimeSystem& system, std::u16string_view system_directory,
                               bool available);

struct TextCaptureUnpacking {
  bool unpacked = false;    // both libraries were carried: remove them after the run
  void* library = nullptr;  // the loaded ICall.dll, or null
};

// When the image carries both text-capture libraries: writes them into the temporary
// directory (which ends with a backslash; a file that cannot be written is passed over),
// appends ";", that directory and one more backslash to PATH, and loads ICall.dll from
// there or, failing that, by its bare name.
TextCaptureUnpacking unpack_text_capture(ScriptImage& image, RuntimeSystem& system,
                                         std::u16string_view temporary_directory);

// After the run, when the libraries were unpacked: unloads ICall.dll (Windows does not
// delete a loaded library) and deletes both from the temporary directory where they exist.
void remove_text_capture_libraries(RuntimeSystem& system, std::u16string_view temporary_directory,
                                   TextCaptureUnpacking& unpacking);

}  // namespace dorovev
