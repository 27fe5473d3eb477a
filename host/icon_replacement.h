// Replacing the icon images of a compiled macro with those of an icon file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dorovev::host {

struct IconReplacement {
  bool replaced = false;
  std::u16string message;  // what to tell the person when nothing was replaced
};

// Writes the images of `icon_file` (its bytes; `icon_path` names it in messages) as the
// icon resources 1 to 10 of `executable`, in British English: first the file's 16 x 16
// image into every number, then each size's own images into theirs. A file without a
// 16 x 16 image, or one that is no icon file, changes nothing; a failed write abandons
// the whole change.
IconReplacement replace_icon_images(std::u16string_view executable, std::string_view icon_file,
                                    std::u16string_view icon_path);

}  // namespace dorovev::host
