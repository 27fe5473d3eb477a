// Fuzzes the number readers and checks that they agree with each other.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "values/number_readers.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Read the bytes both as Latin-1 characters and as UTF-16LE code units.
  std::u16string narrow(data, data + size);
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < size; i += 2) wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  for (const std::u16string& text : {narrow, wide}) {
    const std::int32_t loose = read_integer_or_zero(text);
    const std::optional<std::int32_t> strict = read_strict_integer(text);
    if (strict && *strict != loose) __builtin_trap();
    const std::optional<double> real = read_strict_real(text);
    if (real && !std::isfinite(*real)) __builtin_trap();
    // A plain decimal integer that reads strictly reads as the same real.
    if (strict && real && text.find_first_of(u"$xX") == std::u16string::npos && *real != *strict) __builtin_trap();
  }
  return 0;
}
