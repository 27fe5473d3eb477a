// The end of the program image in an executable file.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "container/program_image.h"

namespace dorovev {
namespace {

void put(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
  if (bytes.size() < at + width) bytes.resize(at + width, '\0');
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A minimal executable: headers of `headers` bytes and sections at the given file
// offsets and sizes, followed by `tail` bytes of whatever.
std::string executable(std::uint32_t headers, std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> sections,
                       std::size_t tail) {
  std::string bytes = "MZ";
  put(bytes, 0x3C, 0x80, 4);
  put(bytes, 0x80, 0x00004550, 4);                       // "PE\0\0"
  put(bytes, 0x84 + 2, static_cast<std::uint32_t>(sections.size()), 2);
  put(bytes, 0x84 + 16, 0xF0, 2);                        // optional header size (PE32+)
  put(bytes, 0x84 + 20 + 60, headers, 4);
  std::size_t entry = 0x84 + 20 + 0xF0;
  std::uint32_t end = headers;
  for (const auto& [offset, size] : sections) {
    put(bytes, entry + 16, size, 4);
    put(bytes, entry + 20, offset, 4);
    entry += 40;
    end = std::max(end, offset + size);
  }
  bytes.resize(std::max<std::size_t>(bytes.size(), end) + tail, 'x');
  return bytes;
}

TEST(ProgramImage, EndsAfterTheFurthestSectionOrTheHeaders) {
  EXPECT_EQ(program_image_size(executable(0x400, {{0x400, 0x200}, {0xA00, 0x100}, {0x600, 0x400}}, 50)), 0xB00u);
  EXPECT_EQ(program_image_size(executable(0x400, {}, 7)), 0x400u);
  EXPECT_EQ(program_image_size(executable(0x400, {{0x400, 0x200}}, 0)), 0x600u);
}

TEST(ProgramImage, AnythingElseIsAllImage) {
  EXPECT_EQ(program_image_size(""), 0u);
  EXPECT_EQ(program_image_size("plain text, no program"), 22u);
  std::string no_signature = executable(0x400, {{0x400, 0x200}}, 9);
  no_signature[0x80] = 'X';
  EXPECT_EQ(program_image_size(no_signature), no_signature.size());
  std::string outside = executable(0x400, {{0x400, 0x200}}, 0);
  put(outside, 0x84 + 20 + 0xF0 + 20, 0x7FFFFFF0, 4);  // a section beyond the end
  EXPECT_EQ(program_image_size(outside), outside.size());
  std::string cut = executable(0x400, {{0x400, 0x200}}, 0).substr(0, 0x90);  // headers cut short
  EXPECT_EQ(program_image_size(cut), cut.size());
}

}  // namespace
}  // namespace dorovev
