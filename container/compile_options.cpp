// Compile-mode switches, the embedded command line and the icon image plan.
#include "container/compile_options.h"

#include "values/ascii.h"
#include "values/base64.h"

namespace dorovev {

CompileSwitches read_compile_switches(std::u16string_view command_line) {
  CompileSwitches switches;
  switches.quiet = command_line.find(u"-QUIET") != std::u16string_view::npos;
  switches.delete_script = command_line.find(u"-DEL") != std::u16string_view::npos;
  const std::size_t options = command_line.find(u"-OPTS:");
  if (options == std::u16string_view::npos) return switches;
  std::u16string_view embedded = command_line.substr(options + 6);
  const std::size_t icon = embedded.find(u"-ICON:");
  if (icon != std::u16string_view::npos) {
    switches.icon_file = std::u16string(embedded.substr(icon + 6));
    embedded = embedded.substr(0, icon);
  }
  switches.embedded_command_line = std::u16string(embedded);
  return switches;
}

std::string encode_embedded_command_line(std::string_view ansi_bytes) {
  std::string inverted(ansi_bytes);
  for (char& byte : inverted) byte = static_cast<char>(~static_cast<unsigned char>(byte));
  return Base64Encode(inverted);
}

std::optional<std::string> decode_embedded_command_line(std::string_view section) {
  std::string bytes;
  try {
    bytes = Base64Decode(section);
  } catch (const Base64FormatError&) {
    return std::nullopt;
  }
  for (char& byte : bytes) byte = static_cast<char>(~static_cast<unsigned char>(byte));
  return bytes;
}

bool names_switch(std::u16string_view command_line, std::u16string_view name) {
  for (const char16_t mark : {u'-', u'/'}) {
    const std::u16string text = std::u16string(1, mark) + std::u16string(name);
    if (command_line.find(text) != std::u16string_view::npos) return true;
  }
  return false;
}

std::u16string macro_parameters_of(std::u16string_view embedded_command_line) {
  std::u16string text(embedded_command_line);
  for (std::u16string_view name : {u"-HIDE", u"/HIDE", u"-NOSYSTRAY", u"/NOSYSTRAY", u"-NOSTOPKEY", u"/NOSTOPKEY"}) {
    for (std::size_t at = text.find(name); at != std::u16string::npos; at = text.find(name, at)) {
      text.erase(at, name.size());
    }
  }
  std::u16string trimmed(trim(text));
  if (!trimmed.empty() && trimmed.front() == u'/') trimmed.erase(0, 1);
  return trimmed;
}

namespace {

std::uint32_t little(std::string_view bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

std::optional<IconPlan> plan_icon_images(std::string_view icon_file) {
  if (icon_file.size() < 6 || little(icon_file, 0, 2) != 0 || little(icon_file, 2, 2) != 1) return std::nullopt;
  // At most ten entries are considered.
  const std::uint32_t count = std::min<std::uint32_t>(little(icon_file, 4, 2), 10);
  if (icon_file.size() < 6 + 16 * static_cast<std::size_t>(count)) return std::nullopt;
  IconPlan plan;
  std::array<std::optional<IconImage>, 10> found;
  static constexpr std::uint32_t kSizes[] = {16, 24, 32, 48, 64};
  for (std::uint32_t entry = 0; entry < count; ++entry) {
    const std::size_t at = 6 + 16 * static_cast<std::size_t>(entry);
    // A width or height byte of 0 stands for 256.
    const std::uint32_t width = little(icon_file, at, 1) == 0 ? 256 : little(icon_file, at, 1);
    const std::uint32_t height = little(icon_file, at + 1, 1) == 0 ? 256 : little(icon_file, at + 1, 1);
    const std::uint32_t bits = little(icon_file, at + 6, 2);
    const IconImage image{little(icon_file, at + 12, 4), little(icon_file, at + 8, 4)};
    if (image.offset > icon_file.size() || image.size > icon_file.size() - image.offset) return std::nullopt;
    if (width != height) continue;
    if (width == 16) plan.sixteen = image;
    for (std::size_t size = 0; size < 5; ++size) {
      if (kSizes[size] == width) found[2 * size + (bits > 8 ? 1 : 0)] = image;
    }
  }
  // Gaps are filled from the other depth of the same size.
  for (std::size_t size = 0; size < 5; ++size) {
    if (!found[2 * size]) found[2 * size] = found[2 * size + 1];
  }
  for (std::size_t size = 0; size < 5; ++size) {
    if (!found[2 * size + 1]) found[2 * size + 1] = found[2 * size];
  }
  plan.slots = found;
  return plan;
}

}  // namespace dorovev
