// UTF-8 and UTF-16 byte decoding.
#include "engine/unicode.h"

#include <cstdint>
#include <optional>

#include "engine/platform.h"

namespace dorovev {
namespace {

constexpr char16_t kReplacement = u'\xFFFD';

void append_code_point(std::u16string& out, std::uint32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
  } else {
    code_point -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
  }
}

}  // namespace

std::u16string decode_utf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t code_point = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code_point = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code_point = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code_point = lead & 0x07, minimum = 0x10000;
    }
    bool valid = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    valid = valid && code_point >= minimum && code_point <= 0x10FFFF && (code_point < 0xD800 || code_point > 0xDFFF);
    if (!valid) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    append_code_point(out, code_point);
    i += length;
  }
  return out;
}

std::u16string decode_utf16(std::string_view bytes, bool big_endian) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t k = 0; k < out.size(); ++k) {
    const auto first = static_cast<unsigned char>(bytes[2 * k]);
    const auto second = static_cast<unsigned char>(bytes[2 * k + 1]);
    out[k] = big_endian ? static_cast<char16_t>((first << 8) | second) : static_cast<char16_t>((second << 8) | first);
  }
  return out;
}

bool HasUtf16Bom(Platform& platform, std::u16string_view path) {
  // The platform reads whole files; ReadFile> reads the whole file anyway.
  const std::optional<std::string> bytes = platform.read_file(path);
  return bytes && bytes->starts_with("\xFF\xFE");
}

}  // namespace dorovev
