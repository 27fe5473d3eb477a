// The shapes of lines that the interpreter recognises by itself: comments, block
// comments, labels, subroutine bounds, loops, If blocks and dialog ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/line_list.h"

namespace dorovev {

// Each test takes a list entry as it stands and left-trims it itself. A name is the rest
// of the entry from a fixed position on, untrimmed (empty when the entry is shorter).
std::optional<std::u16string_view> label_name(std::u16string_view line) noexcept;             // Label>name
std::optional<std::u16string_view> subroutine_start_name(std::u16string_view line) noexcept;  // SRT>name
std::optional<std::u16string_view> subroutine_end_name(std::u16string_view line) noexcept;    // END>name
std::optional<std::u16string_view> repeat_name(std::u16string_view line) noexcept;            // Repeat>name
std::optional<std::u16string_view> dialog_end_name(std::u16string_view line) noexcept;        // EndDialog>name
bool is_endif_line(std::u16string_view line) noexcept;
bool is_else_line(std::u16string_view line) noexcept;

// Label, subroutine and loop names compare exactly; with IGNORESPACES on, both sides
// are trimmed first.
bool names_match(std::u16string_view wanted, std::u16string_view candidate, bool ignore_spaces) noexcept;

bool is_comment_line(std::u16string_view line) noexcept;  // begins with `//`
// Begins with `/*` and does not itself end with `*/`.
bool opens_block_comment(std::u16string_view line) noexcept;

// `after` is the index of the line after a comment line. Every directly following
// comment line is passed over, but never the last line of the list. Returns the index
// of the next line to run.
std::size_t skip_comment_run(const LineList& lines, std::size_t after) noexcept;

// `after` is the index of the line after a line that opens a block comment. Passes over
// the lines up to and including the first one that ends with `*/` (or the last line) and
// returns the index of the line after it.
std::size_t skip_block_comment_forward(const LineList& lines, std::size_t after) noexcept;

// For backward searches: when the line at `index` closes a block comment (ends with `*/`
// without beginning with `/*`), returns the index of the nearest earlier line that
// begins with `/*` (or 0); otherwise `index` itself. The search goes on before it.
std::size_t skip_block_comment_backward(const LineList& lines, std::size_t index) noexcept;

}  // namespace dorovev
