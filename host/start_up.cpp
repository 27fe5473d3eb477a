// What the program does when it starts: the self-replacement hand-off, the main window,
// the compiled macro's script if it carries one, then compile mode or a script file run
// when the command line asks for them. Without any of these it ends at once with 0.
#include "host/start_up.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "container/compile_options.h"
#include "container/hs_crypt.h"
#include "container/runtime_unpacking.h"
#include "container/script_container.h"
#include "container/self_replacement.h"
#include "engine/line_list.h"
#include "engine/run_start.h"
#include "host/compile_mode.h"
#include "host/host_services.h"
#include "host/main_form.h"
#include "host/run_mode.h"
#include "host/system_files.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "values/ascii.h"

namespace dorovev::host {
namespace {

std::vector<std::u16string> arguments() {
  int count = 0;
  LPWSTR* list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::u16string> all;
  for (int i = 0; list && i < count; ++i) all.push_back(win32::from_wide(list[i], ::wcslen(list[i])));
  if (list) ::LocalFree(list);
  return all;
}

// The compiled macro's own command line, decoded; empty when it carries none.
std::u16string embedded_command_line(ScriptImage& image, win32::Win32Platform& platform) {
  const std::optional<std::string> bytes = decode_embedded_command_line(image.read_section("commandline"));
  return bytes ? platform.ansi_to_text(*bytes) : std::u16string();
}

int run_compiled_script(win32::Win32Platform& platform, ProcessState& process, const std::string& section,
                        std::u16string_view macro_parameters) {
  THSCrypt crypt;
  crypt.EncryptionLevel = kContainerLevel;
  crypt.Key = std::u16string(kContainerKey);
  const std::optional<std::string> plain = decipher_block(crypt, section);
  RunStart start;
  start.macro_parameters = std::u16string(macro_parameters);
  start.from_container = true;
  return run_top_level(platform, process, lines_from_compiled_script(plain.value_or(std::string())), start);
}

}  // namespace

int start_program() {
  const std::vector<std::u16string> args = arguments();
  SystemFiles files;
  ScriptImage image(files, program_path());
  const HandOffResult hand_off = perform_start_up_hand_off(files, image, args.size() > 1 ? args[1] : u"");
  if (hand_off.ends_program()) {
    if (!hand_off.message().empty()) {
      ::MessageBoxW(nullptr, win32::wide(hand_off.message()).c_str(), L"Dorovev", MB_OK | MB_ICONWARNING);
    }
    return 0;
  }

  win32::Win32Platform platform;
  platform.set_application_title(u"Dorovev");
  ProcessState process;
  std::u16string embedded;
  try {
    embedded = embedded_command_line(image, platform);
  } catch (const ContainerFileError&) {
    // The program's own file cannot be read: there is no compiled script to run.
  }
  MainFormOptions options = options_from_command_line();
  options.no_tray = options.no_tray || names_switch(embedded, u"NOSYSTRAY");
  options.no_stop_key = options.no_stop_key || names_switch(embedded, u"NOSTOPKEY");
  options.hide_on_activation = names_switch(embedded, u"HIDE");
  MainForm form(::GetModuleHandleW(nullptr), process, platform, options);

  int exit_code = 0;
  std::string script;
  try {
    script = image.read_section("script1");
  } catch (const ContainerFileError&) {
  }
  const std::u16string system = system_directory();
  process.vbscript_available = vbscript_runtimes_installed(files, system);
  if (!script.empty()) {
    // The runtimes the macro carries: VBScript's where the computer lacks it, the
    // text-capture libraries in the temporary folder for the run.
    process.vbscript_available = install_vbscript_runtimes(image, files, system, process.vbscript_available);
    const std::u16string temporary = temporary_names(false).directory;
    TextCaptureUnpacking text_capture = unpack_text_capture(image, files, temporary);
    process.text_capture_library = text_capture.library;
    exit_code = run_compiled_script(platform, process, script, macro_parameters_of(embedded));
    process.text_capture_library = nullptr;
    remove_text_capture_libraries(files, temporary, text_capture);
  }

  const std::u16string first = args.size() > 1 ? std::u16string(trim(args[1])) : std::u16string();
  if (first.find(u"-COMPILE") != std::u16string::npos) {
    compile_macro(platform, args.size() > 2 ? args[2] : u"", args.size() > 3 ? args[3] : u"",
                  win32::from_wide(::GetCommandLineW(), ::wcslen(::GetCommandLineW())));
  } else if (script.empty() && args.size() > 2 && equals_ignoring_ascii_case(args[1], u"-RUN")) {
    exit_code = run_script_file(platform, process, args[2]);
  }
  return exit_code;
}

}  // namespace dorovev::host
