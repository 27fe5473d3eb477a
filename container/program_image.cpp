// Reading just enough of the executable headers to find the end of the image.
#include "container/program_image.h"

#include <algorithm>
#include <cstdint>

namespace dorovev {
namespace {

// A little-endian number of `width` bytes at `at`; false when it lies outside the file.
bool read(std::string_view file, std::size_t at, int width, std::uint64_t& value) noexcept {
  if (at > file.size() || static_cast<std::size_t>(width) > file.size() - at) return false;
  value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(file[at + i]);
  return true;
}

}  // namespace

std::size_t program_image_size(std::string_view file) noexcept {
  std::uint64_t new_header = 0;
  std::uint64_t signature = 0;
  if (file.size() < 2 || file[0] != 'M' || file[1] != 'Z' || !read(file, 0x3C, 4, new_header) ||
      !read(file, new_header, 4, signature) || signature != 0x00004550) {  // "PE\0\0"
    return file.size();
  }
  const std::size_t coff = static_cast<std::size_t>(new_header) + 4;
  std::uint64_t sections = 0;
  std::uint64_t optional_size = 0;
  std::uint64_t headers_size = 0;
  if (!read(file, coff + 2, 2, sections) || !read(file, coff + 16, 2, optional_size) ||
      !read(file, coff + 20 + 60, 4, headers_size)) {  // SizeOfHeaders, in both optional header forms
    return file.size();
  }
  std::uint64_t end = headers_size;
  const std::size_t table = coff + 20 + static_cast<std::size_t>(optional_size);
  for (std::uint64_t section = 0; section < sections; ++section) {
    std::uint64_t raw_size = 0;
    std::uint64_t raw_offset = 0;
    const std::size_t entry = table + static_cast<std::size_t>(section) * 40;
    if (!read(file, entry + 16, 4, raw_size) || !read(file, entry + 20, 4, raw_offset)) return file.size();
    end = std::max(end, raw_offset + raw_size);
  }
  return end <= file.size() ? static_cast<std::size_t>(end) : file.size();
}

}  // namespace dorovev
