// UTF-8 and UTF-16 byte decoding for script files.
#pragma once

#include <string>
#include <string_view>

namespace dorovev {

// Malformed sequences become U+FFFD, one per offending byte, as the Windows decoder does.
std::u16string decode_utf8(std::string_view bytes);
// Pairs of bytes in the given order; a trailing odd byte is ignored.
std::u16string decode_utf16(std::string_view bytes, bool big_endian);

}  // namespace dorovev
