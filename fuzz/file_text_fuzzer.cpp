// Fuzzes the text logic of the file commands: the input's first byte picks a chunk size
// and a line number, and the rest is a file read line by line and a pattern whose list
// prefix, count split and copy names are taken. Besides not crashing, the results must
// keep their promises.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "values/file_names.h"
#include "values/text_lines.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t chunk = 1 + (data[0] & 7);
  const std::int32_t number = (data[0] >> 3) - 4;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  // Lines never hold a line end or Ctrl+Z, and together never outgrow the bytes.
  MemoryByteSource source(bytes, chunk);
  LineReader reader(source, chunk);
  std::size_t total = 0;
  while (!reader.at_end()) {
    const std::string line = reader.next_line();
    if (line.find_first_of("\r\n\x1A") != std::string::npos) __builtin_trap();
    total += line.size() + 1;
    if (total > bytes.size() + 1) __builtin_trap();
  }
  MemoryByteSource again(bytes, chunk);
  (void)read_numbered_line(again, number, [] { return false; });

  std::u16string pattern;
  for (unsigned char c : bytes) pattern += static_cast<char16_t>(c < 0x80 ? c : 0x4E00 + c);
  const std::u16string prefix = listing_prefix(pattern);
  if (prefix.empty() || prefix.back() != u'\\') __builtin_trap();
  const CountSearch search = split_count_pattern(pattern, u"C:\\w");
  if (search.directory.back() != u'\\' || search.mask.empty()) __builtin_trap();
  if (search.mask.find_first_of(u"\\:") != std::u16string::npos) __builtin_trap();
  const std::u16string name(name_part(pattern));
  if (copy_name(name, (data[0] & 1) != 0, 1 + (data[0] & 3)) == name) __builtin_trap();
  (void)join_in_reverse(prefix, {name, name}, u";");
  (void)changed_since({2024, 2, 29}, {2024, 3, 1}, pattern);
  return 0;
}
