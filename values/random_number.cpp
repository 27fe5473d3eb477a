// The random-number command: a multiplier-and-increment generator over 32 bits, whose
// sequences scripts can repeat by setting RND_SEED.
#include "values/random_number.h"

#include <string>

#include "values/comma_split.h"
#include "values/expand_text.h"
#include "values/number_readers.h"

namespace dorovev {

std::uint32_t next_random(std::uint32_t& seed, std::uint32_t range) noexcept {
  seed = seed * 134775813u + 1u;
  return static_cast<std::uint32_t>((std::uint64_t{seed} * range) >> 32);
}

void random_command(tVarArray& table, std::u16string_view parameters, CommandServices& services) {
  const CommaSplit split = split_at_first_comma(parameters);
  if (split.rest.empty()) return;
  const std::int32_t range = read_integer_or_zero(ExpandText(table, split.first).view());
  const std::uint32_t drawn = next_random(services.random_seed(), static_cast<std::uint32_t>(range));
  // A negative range is drawn as a large unsigned one; the number is then a signed
  // 32-bit integer like every other integer of the language.
  const std::string digits = std::to_string(static_cast<std::int32_t>(drawn));
  AssignVariable(table, split.rest, std::u16string(digits.begin(), digits.end()));
}

}  // namespace dorovev
