// Where the program image of an executable file ends, so that the sections a compiled
// macro carries after it can be told from the program itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace dorovev {

// The length of the Windows executable image at the start of `file`: the end of its
// headers or of its furthest section data, whichever lies later. A file that is no
// executable, or whose headers point outside it, counts as all image.
std::size_t program_image_size(std::string_view file) noexcept;

}  // namespace dorovev
