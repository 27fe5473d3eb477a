// The platform seam: everything the portable interpreter needs from the operating system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "values/variable_table.h"

namespace dorovev {

// The host passes one Platform to the interpreter. The Windows build implements it with
// the real API; native tests use a scripted fake. The interface grows with the
// interpreter, one narrow question at a time.
class Platform : public VariableHost {
 public:
  // Text in the system's ANSI code page, to UTF-16.
  virtual std::u16string ansi_to_text(std::string_view bytes) = 0;
  // UTF-16 to the system's ANSI code page; characters it lacks become its default character.
  virtual std::string text_to_ansi(std::u16string_view text) = 0;

  virtual bool file_exists(std::u16string_view path) = 0;
  // The whole file as bytes, or nothing when it cannot be read.
  virtual std::optional<std::string> read_file(std::u16string_view path) = 0;
};

}  // namespace dorovev
