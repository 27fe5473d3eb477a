// Fuzzes the executable header reading: any bytes give an image size within the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "container/program_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  if (dorovev::program_image_size(file) > size) __builtin_trap();
  return 0;
}
