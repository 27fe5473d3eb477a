// The string commands: CON, MID, POS, LEN, RPL/STR and SEP.
//
// Each takes its raw parameter text, splits it at commas itself, expands the value
// pieces and stores its result with AssignVariable. Pieces that name a result variable
// are used as written. Positions and lengths count UTF-16 code units from 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "values/command_services.h"
#include "values/variable_table.h"

namespace dorovev {

// `CON>name,text`: appends text to the variable. The name may be written bare or as
// `%name%`; an unassigned variable contributes its own reference `%name%`.
void concatenate_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

// `MID>source,start,length,result`: the substring, or the report "Error in SubString
// Command." when start or length is no integer, source is empty or result is missing.
void substring_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

// `POS>needle,haystack,start,result[,absolute]`: the position of needle in haystack from
// start, counted in the whole haystack unless the mode is FALSE; 0 when there is none.
// Reports "Error in Position Command." for a start that is no integer, an empty needle
// or a missing result.
void position_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

// `LEN>text,result`: the length of the text.
void length_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

// `RPL>source,find,replacement,result` (also STR): every occurrence replaced, case
// counting, left to right without rescanning replaced text.
void replace_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

// `SEP>source,delimiter,result`: the parts as result_1 ... result_N and N as
// result_count. Everything after the first comma is expanded as a whole first.
void separate_command(tVarArray& table, std::u16string_view parameters, CommandServices& services);

// The substring of at most `length` code units from the 1-based position `start`: a
// start below 1 counts as 1, a start past the end or a negative length gives nothing.
std::u16string_view substring(std::u16string_view text, std::int64_t start, std::int64_t length) noexcept;

// Every occurrence of `find` replaced by `replacement`; an empty `find` changes nothing.
std::u16string replace_all(std::u16string_view source, std::u16string_view find, std::u16string_view replacement);

}  // namespace dorovev
