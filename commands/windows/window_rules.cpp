// The portable rules of window matching.
#include "commands/windows/window_rules.h"

#include <algorithm>

namespace dorovev::windows {
namespace {

constexpr char16_t upper(char16_t c) noexcept { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// The top-level entry that a descendant belongs to: the nearest top-level entry before it
// when that is its own top-level window, else none (its top-level window has no text).
struct CurrentTopLevel {
  std::optional<std::size_t> index;
  std::uint64_t handle = 0;
  void enter(const std::vector<InventoryEntry>& inventory, std::size_t at) {
    const InventoryEntry& entry = inventory[at];
    if (entry.top_level) {
      index = at;
      handle = entry.handle;
    } else if (entry.top_level_handle != handle) {
      index.reset();
      handle = entry.top_level_handle;
    }
  }
};

}  // namespace

TitlePattern parse_title_pattern(std::u16string_view pattern) noexcept {
  if (!pattern.empty() && pattern.back() == u'*') return {pattern.substr(0, pattern.size() - 1), true};
  return {pattern, false};
}

bool title_contains(std::u16string_view title, std::u16string_view stem) noexcept {
  if (stem.empty()) return true;
  if (stem.size() > title.size()) return false;
  const auto same = [](char16_t a, char16_t b) { return upper(a) == upper(b); };
  return std::search(title.begin(), title.end(), stem.begin(), stem.end(), same) != title.end();
}

WindowScope window_scope(std::int32_t wf_type) noexcept {
  WindowScope scope;
  if (wf_type <= 0) {
    scope.children = false;
  } else if (wf_type >= 2) {
    scope.top_level = wf_type == 2;
    scope.top_level_visible_only = true;
    scope.children_visible_only = true;
    scope.exact_visible_only = true;
  }
  return scope;
}

std::u16string handle_text(std::uint64_t handle) {
  std::uint32_t value = static_cast<std::uint32_t>(handle);
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

std::u16string inventory_line(const InventoryEntry& entry) {
  std::u16string line(entry.top_level ? u"PARENT:" : u"CHILD:");
  line += handle_text(entry.handle);
  line += u" - ";
  line += entry.class_name;
  line += u" \"";
  line += entry.text;
  line += u'"';
  return line;
}

std::u16string child_texts(const std::vector<InventoryEntry>& inventory, std::u16string_view title,
                           bool handle_mode) {
  std::u16string result;
  CurrentTopLevel current;
  bool matches = false;
  for (std::size_t at = 0; at < inventory.size(); ++at) {
    const InventoryEntry& entry = inventory[at];
    if (entry.top_level && !result.empty()) break;
    const std::uint64_t before = current.handle;
    current.enter(inventory, at);
    if (entry.top_level || current.handle != before) {
      matches = (current.index && inventory[*current.index].text == title) ||
                (handle_mode && handle_text(current.handle) == title);
    }
    if (entry.top_level || !matches) continue;
    if (!result.empty()) result += u"\r\n";
    result += entry.text;
  }
  return result;
}

std::optional<std::size_t> window_with_child_text(const std::vector<InventoryEntry>& inventory,
                                                  std::u16string_view text) {
  CurrentTopLevel current;
  for (std::size_t at = 0; at < inventory.size(); ++at) {
    current.enter(inventory, at);
    if (inventory[at].top_level || !current.index) continue;
    if (title_contains(inventory_line(inventory[at]), text)) return current.index;
  }
  return std::nullopt;
}

}  // namespace dorovev::windows
