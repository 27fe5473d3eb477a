// The container's file operations and the system side of the self-replacement hand-off
// and of unpacking carried runtimes, over the Windows file, shell and loader functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "container/runtime_unpacking.h"
#include "container/self_replacement.h"

namespace dorovev::host {

class SystemFiles final : public SelfReplacementSystem, public RuntimeSystem {
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
  void run_and_wait(std::u16string_view command_line) override;
  void append_to_path(std::u16string_view text) override;
  void* load_library(std::u16string_view path) override;
  void free_library(void* library) override;
};

// The full path of the running program.
std::u16string program_path();

// The system directory, without a trailing backslash.
std::u16string system_directory();

}  // namespace dorovev::host
