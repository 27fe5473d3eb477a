// The platform seam implemented with the real Win32 API.
#pragma once

#include "engine/platform.h"

namespace dorovev::win32 {

class Win32Platform final : public Platform {
 public:
  std::uint32_t tick_count() override;
  std::vector<std::u16string> command_line_arguments() override;
  std::u16string ansi_to_text(std::string_view bytes) override;
  std::string text_to_ansi(std::u16string_view text) override;
  bool file_exists(std::u16string_view path) override;
  std::optional<std::string> read_file(std::u16string_view path) override;
};

}  // namespace dorovev::win32
