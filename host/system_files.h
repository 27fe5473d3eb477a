// The container's file operations and the self-replacement system side, over the
// Windows file and shell functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "container/self_replacement.h"

namespace dorovev::host {

class SystemFiles final : public SelfReplacementSystem {
 public:
  std::optional<std::string> read_file(std::u16string_view path) override;
  // Writes through a temporary file beside the target that is then moved into place, so
  // that a failed write never leaves a half-written file.
  bool write_file(std::u16string_view path, std::string_view bytes) override;
  bool set_current_directory(std::u16string_view path) override;
  bool file_exists(std::u16string_view path) override;
  bool delete_file(std::u16string_view path) override;
  void clear_read_only(std::u16string_view path) override;
  void delay(std::uint32_t milliseconds) override;
  bool start_program(std::u16string_view path, std::u16string_view argument) override;
};

// The full path of the running program.
std::u16string program_path();

}  // namespace dorovev::host
