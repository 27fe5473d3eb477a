// Compile mode.
//
// The icon is replaced in a copy of the program before the sections are appended: the
// resource update functions rewrite an executable without anything appended to it, so
// doing it first needs no second pass over the sections.
#include "host/compile_mode.h"

#include <windows.h>

#include <span>
#include <string>

#include "container/compile_options.h"
#include "container/hs_crypt.h"
#include "container/program_image.h"
#include "container/runtime_unpacking.h"
#include "container/script_container.h"
#include "engine/line_list.h"
#include "host/host_services.h"
#include "host/icon_replacement.h"
#include "host/system_files.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "values/ascii.h"

namespace dorovev::host {
namespace {

using win32::wide;

bool names_text_capture(std::u16string_view upper) {
  for (std::u16string_view command : {u"GTI>", u"GTA>", u"GWE>", u"WST>", u"GETTEXTINRECT>", u"GETTEXTATPOINT>",
                                      u"GETWINDOWTEXTEX>", u"WAITSCREENTEXT>"}) {
    if (upper.find(command) != std::u16string_view::npos) return true;
  }
  return false;
}

// The script as the compiled macro reads it: UTF-16LE after a byte-order mark, whatever
// encoding the file itself has.
std::string utf16_script(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
  return widen_ascii(digits);
}

}  // namespace

void compile_macro(win32::Win32Platform& platform, std::u16string_view script, std::u16string_view output,
                   std::u16string_view command_line) {
  const CompileSwitches switches = read_compile_switches(command_line);
  const auto tell = [&](std::u16string_view text, MessageKind kind) {
    if (!switches.quiet) platform.show_message_dialog(text, kind, MessageButtons::kOk);
  };
  SystemFiles files;
  const std::optional<std::string> script_bytes = files.read_file(script);
  if (!files.file_exists(script) || !script_bytes) {
    tell(u"Error: " + std::u16string(script) + u" does not exist.", MessageKind::kError);
    return;
  }
  const HCURSOR normal = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));

  // The program itself, with the macro's icon when one is given.
  const std::u16string program = program_path();
  ScriptImage image(files, program);
  image.load(program);
  // A compiled macro compiling another keeps none of its own sections.
  image.truncate(program_image_size(image.bytes()));
  if (switches.icon_file) {
    const std::optional<std::string> icon = files.read_file(*switches.icon_file);
    const TemporaryNames temporary = temporary_names(true);
    if (icon && files.write_file(temporary.file, image.bytes())) {
      const IconReplacement replaced = replace_icon_images(temporary.file, *icon, *switches.icon_file);
      if (replaced.replaced) {
        image.load(temporary.file);
      } else {
        platform.show_message_dialog(replaced.message, MessageKind::kPlain, MessageButtons::kOk);
      }
    } else if (!icon) {
      platform.show_message_dialog(u"No 16x16 icon found in " + *switches.icon_file, MessageKind::kPlain,
                                   MessageButtons::kOk);
    }
    files.delete_file(temporary.file);
  }

  const std::u16string text = decode_script_file(*script_bytes, platform);
  THSCrypt crypt;
  crypt.EncryptionLevel = kContainerLevel;
  crypt.Key = std::u16string(kContainerKey);
  image.add_section("script1", encipher_block(crypt, utf16_script(text)));

  const std::u16string upper = to_upper_ascii(text);
  // The runtimes the script needs travel with it when they can be found, each file as
  // its section.
  const auto carry = [&](std::u16string_view folder, std::span<const RuntimeFile> runtimes,
                         std::u16string_view missing) {
    if (!runtime_files_present(files, folder, runtimes)) return tell(missing, MessageKind::kError);
    for (const RuntimeFile& runtime : runtimes) {
      image.add_section_from_file(runtime.section, path_in(folder, runtime.name));
    }
  };
  if (upper.find(u"VBSTART") != std::u16string::npos) {
    carry(system_directory(), kVBScriptRuntimes, u"Cannot compile - cannot locate VBScript Runtimes");
  }
  if (names_text_capture(upper)) {
    carry(program_directory(), kTextCaptureLibraries, u"Cannot compile - cannot locate GetWord Runtimes");
  }
  if (switches.embedded_command_line) {
    image.add_section("commandline", encode_embedded_command_line(platform.text_to_ansi(*switches.embedded_command_line)));
  }
  image.add_section("cdt", platform.text_to_ansi(today()));
  try {
    image.save(output);
  } catch (const ContainerFileError& error) {
    ::SetCursor(normal);
    tell(error.message(), MessageKind::kError);
    return;
  }

  const std::u16string packer = program_directory() + u"\\upx.exe";
  if (files.file_exists(packer)) {
    run_program(program_directory() + u"\\upx.exe -9 -qqq --force \"" + std::u16string(output) + u"\"", SW_HIDE, true);
  }
  ::SetCursor(normal);
  if (switches.delete_script) files.delete_file(script);
  tell(u"Created: " + std::u16string(output), MessageKind::kInformation);
}

}  // namespace dorovev::host
