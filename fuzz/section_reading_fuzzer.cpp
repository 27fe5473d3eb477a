// Fuzzes the reading of container sections from arbitrary file bytes: the result is the
// one a plain search gives, names read the same in any case, and a section added to any
// file reads back as its data unless the file or the data hide it (an earlier start
// marker, or the data holding its own end marker). The image's load, add, read and save
// go through an in-memory file interface.
//
// Input: one byte for the name's length (0 to 31), one byte for the share of the rest
// that is the added section's data, the name, then the data, then the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "container/script_container.h"

using namespace dorovev;

namespace {

// The section by the plain search of the standard library, as the reading is defined.
std::string_view reference_section(std::string_view image, std::string_view name) {
  const std::string start_marker = section_start_marker(name);
  const std::size_t start = image.find(start_marker);
  if (start == std::string_view::npos) return {};
  const std::size_t data = start + start_marker.size();
  const std::size_t end = image.find(section_end_marker(name), data);
  if (end == std::string_view::npos) return {};
  return image.substr(data, end - data);
}

std::string with_case(std::string_view name, bool upper) {
  std::string text(name);
  for (char& c : text) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

class MemoryFiles : public ImageFiles {
 public:
  std::map<std::u16string, std::string> files;
  std::optional<std::string> read_file(std::u16string_view path) override {
    const auto file = files.find(std::u16string(path));
    if (file == files.end()) return std::nullopt;
    return file->second;
  }
  bool write_file(std::u16string_view path, std::string_view bytes) override {
    files[std::u16string(path)] = std::string(bytes);
    return true;
  }
  bool set_current_directory(std::u16string_view) override { return true; }
};

void check_reading(std::string_view image, std::string_view name) {
  const std::string_view data = find_section(image, name);
  if (data != reference_section(image, name)) __builtin_trap();
  // The data is a view into the file itself.
  if (!data.empty() && (data.data() < image.data() || data.data() + data.size() > image.data() + image.size())) {
    __builtin_trap();
  }
  if (find_section(image, with_case(name, true)) != data) __builtin_trap();
  if (find_section(image, with_case(name, false)) != data) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t name_length = std::min<std::size_t>(bytes[0] % 32, size - 2);
  const std::size_t data_share = bytes[1];
  const std::string_view name = input.substr(2, name_length);
  const std::string_view rest = input.substr(2 + name_length);
  const std::string_view data = rest.substr(0, rest.size() * data_share / 256);
  const std::string_view file = rest.substr(data.size());

  check_reading(file, name);
  // The search itself, on a pattern that is not a marker, from anywhere.
  const std::size_t from = data_share % (file.size() + 2);
  if (find_first(file, name, from) != file.find(name, from)) __builtin_trap();

  std::string extended(file);
  append_section(extended, name, data);
  check_reading(extended, name);
  const std::string start_marker = section_start_marker(name);
  const std::string end_marker = section_end_marker(name);
  const bool added_copy_is_first = (std::string(file) + start_marker).find(start_marker) == file.size();
  const bool data_ends_at_its_marker = (std::string(data) + end_marker).find(end_marker) == data.size();
  if (added_copy_is_first && data_ends_at_its_marker && find_section(extended, name) != data) __builtin_trap();

  // The same through the image, starting from the program's own file.
  MemoryFiles files;
  files.files[u"C:\\program.exe"] = std::string(file);
  ScriptImage image(files, u"C:\\program.exe");
  image.add_section(name, data);
  if (image.read_section(name) != find_section(extended, name)) __builtin_trap();
  image.save(u"C:\\out.exe");
  if (files.files[u"C:\\out.exe"] != extended) __builtin_trap();
  return 0;
}
