// The portable rules of window matching: title patterns, the scope of a lookup under
// WF_TYPE, and the walks over the window inventory that GetWindowText> and
// FindWindowByText> make. Nothing here asks the window system; the Win32 side feeds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorovev::windows {

// Titles are read with a buffer of this many characters, terminator included, so at most
// kTitleBuffer - 1 characters of a title are seen.
inline constexpr std::size_t kTitleBuffer = 255;

// A title as a command names its window. A last "*" makes it a wildcard whose stem is the
// text before it; no other character is special.
struct TitlePattern {
  std::u16string_view stem;
  bool wildcard = false;
};
TitlePattern parse_title_pattern(std::u16string_view pattern) noexcept;

// Whether `title` contains `stem` anywhere, with the letters a to z compared without
// regard to case and every other character as it is. An empty stem is in every title.
bool title_contains(std::u16string_view title, std::u16string_view stem) noexcept;

// Which windows a lookup considers, from the integer value of WF_TYPE.
struct WindowScope {
  bool top_level = true;           // top-level windows take part
  bool top_level_visible_only = false;
  bool children = true;            // descendants of top-level windows take part
  bool children_visible_only = false;
  // The exact step (the platform's own title lookup) accepts only visible windows.
  bool exact_visible_only = false;
};
WindowScope window_scope(std::int32_t wf_type) noexcept;

// A window handle as scripts see it: decimal, of the 32 bits that identify a window.
std::u16string handle_text(std::uint64_t handle);

// One entry of the window inventory: a top-level window or one of its descendants. A
// descendant names the top-level window it belongs to.
struct InventoryEntry {
  bool top_level = false;
  std::uint64_t handle = 0;
  std::uint64_t top_level_handle = 0;  // the window itself for a top-level entry
  std::u16string class_name;
  std::u16string text;
};

// The entry as text: "PARENT:" or "CHILD:", the handle in decimal, " - ", the class, a
// blank and the text in double quotation marks.
std::u16string inventory_line(const InventoryEntry& entry);

// GetWindowText>: the texts of the descendants of the first top-level window (in
// inventory order) titled exactly `title`, or, in handle mode, whose handle in decimal is
// `title`, one per line with CR LF between them. Further top-level windows with the same
// title add theirs until one with texts has been found and another top-level entry follows.
// A descendant counts only for the top-level window it belongs to; one whose top-level
// window has no text (and so no entry) belongs to none in title mode.
std::u16string child_texts(const std::vector<InventoryEntry>& inventory, std::u16string_view title,
                           bool handle_mode);

// FindWindowByText>: the index of the top-level entry of the first descendant whose whole
// inventory line contains `text` in the letter-case rule of title_contains, or nothing.
// A descendant whose top-level window has no entry is passed over: there is no window to
// name for it.
std::optional<std::size_t> window_with_child_text(const std::vector<InventoryEntry>& inventory,
                                                  std::u16string_view text);

}  // namespace dorovev::windows
