// The line list: the script text split into lines, from a compiled macro or a file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "values/text.h"

namespace dorovev {

class Platform;

// The ordered, mutable list of the script's lines. Lines shown to the user are numbered
// from 1 by their position at the time; including a file shifts the lines after it.
using LineList = std::vector<Text>;

// A line ends at CR LF, a lone CR or a lone LF; the text ends at its first NUL. An empty
// final line is not added, so a text that ends with a line break has no empty last line.
LineList split_lines(std::u16string_view text);

// The deciphered script of a compiled macro: UTF-16LE whose first character, the
// byte-order mark, is dropped. A trailing odd byte is ignored.
LineList lines_from_compiled_script(std::string_view bytes);

// The text of a script file: a byte-order mark selects UTF-8, UTF-16LE or UTF-16BE;
// without one the bytes are in the system's ANSI code page.
std::u16string decode_script_file(std::string_view bytes, Platform& platform);

// Reads and splits a script file; nothing when the file cannot be read.
std::optional<LineList> lines_from_script_file(std::u16string_view path, Platform& platform);

}  // namespace dorovev
