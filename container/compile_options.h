// What compile mode reads from its command line, the embedded command line of a compiled
// macro in both directions, and the plan for replacing a macro's icon images.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorovev {

struct CompileSwitches {
  bool quiet = false;           // -QUIET anywhere: no final and no error messages
  bool delete_script = false;   // -DEL anywhere: the script file goes afterwards
  std::optional<std::u16string> embedded_command_line;  // all after -OPTS:, up to -ICON:
  std::optional<std::u16string> icon_file;              // all after -ICON:, only after -OPTS:
};

// The switches of a whole command line. The searches are for the exact texts, case
// counting.
CompileSwitches read_compile_switches(std::u16string_view command_line);

// The COMMANDLINE section of a compiled macro: the command line's bytes in the ANSI code
// page with every bit inverted, in base64.
std::string encode_embedded_command_line(std::string_view ansi_bytes);
// Its bytes back, in the ANSI code page. Nothing when the section is no base64.
std::optional<std::string> decode_embedded_command_line(std::string_view section);

// The macro parameters of a compiled macro's top-level run: its embedded command line
// without the host switches (-HIDE, -NOSYSTRAY, -NOSTOPKEY and their / forms), trimmed,
// without one leading "/".
std::u16string macro_parameters_of(std::u16string_view embedded_command_line);

// Whether a command line names a host switch, in either of its forms, anywhere.
bool names_switch(std::u16string_view command_line, std::u16string_view name);

// The icon images a compiled macro gets from an icon file. The program's icon group has
// ten images: 1 = 16 pixels at 8 bits or fewer, 2 = 16 pixels at more, then the same
// pair for 24, 32, 48 and 64 pixels.
struct IconImage {
  std::uint32_t offset = 0;  // in the icon file
  std::uint32_t size = 0;
};
struct IconPlan {
  std::optional<IconImage> sixteen;              // the last 16 x 16 image of any depth
  std::array<std::optional<IconImage>, 10> slots;  // images 1 to 10
};
// Nothing when the bytes are no icon file or an entry points outside them; a plan
// without `sixteen` when the file has no 16 x 16 image.
std::optional<IconPlan> plan_icon_images(std::string_view icon_file);

}  // namespace dorovev
