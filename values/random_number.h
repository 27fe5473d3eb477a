// The random-number command and the process's generator behind it.
#pragma once

#include <cstdint>
#include <string_view>

#include "values/command_services.h"
#include "values/variable_table.h"

namespace dorovev {

// Steps the 32-bit linear congruential generator and scales its new state to a number
// from 0 to range - 1, both taken as unsigned. A range of 0 gives 0 and still steps.
std::uint32_t next_random(std::uint32_t& seed, std::uint32_t range) noexcept;

// `range,result`: stores the next number below the range in the variable named by the
// text after the comma. The range reads as integer-or-zero. Without a result name
// nothing is drawn.
void random_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

}  // namespace dorovev
