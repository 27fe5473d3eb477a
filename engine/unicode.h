// UTF-8 and UTF-16 byte decoding for script files, and the UTF-16 test of a file.
#pragma once

#include <string>
#include <string_view>

namespace dorovev {

class Platform;

// Malformed sequences become U+FFFD, one per offending byte, as the Windows decoder does.
std::u16string decode_utf8(std::string_view bytes);
// Pairs of bytes in the given order; a trailing odd byte is ignored.
std::u16string decode_utf16(std::string_view bytes, bool big_endian);

// Whether the file begins with the UTF-16 little-endian byte-order mark FF FE (what
// `ReadFile>` asks). A file that cannot be read has none.
bool HasUtf16Bom(Platform& platform, std::u16string_view path);

}  // namespace dorovev
