// What the window command handlers share, and the handlers themselves by file.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dorovev {
class RunContext;
}

namespace dorovev::windows {

// The parameter text cut at every comma; pieces past the last comma are empty.
class CommaPieces {
 public:
  explicit CommaPieces(std::u16string_view text);
  std::u16string_view operator[](std::size_t index) const noexcept {
    return index < pieces_.size() ? pieces_[index] : std::u16string_view();
  }
  std::size_t size() const noexcept { return pieces_.size(); }

 private:
  std::vector<std::u16string_view> pieces_;
};

// The window-not-present report: "Specified Window" "<title>" <suffix>, a line break and
// the warning about later keystrokes; Abort stops the macro, IGNOREERRORS silences it.
void report_window_not_present(RunContext& run, std::u16string_view title, std::u16string_view suffix);
inline constexpr std::u16string_view kNotPresent = u"Not Present.";

// A window handle in decimal, as scripts read and write handles.
std::u16string handle_text(HWND window);
// A number in decimal.
std::u16string decimal(long long value);

// window_waits.cpp
void wait_window_open(RunContext& run, std::u16string_view parameters);
void wait_window_closed(RunContext& run, std::u16string_view parameters);
void wait_window_changed(RunContext& run, std::u16string_view parameters);
// window_actions.cpp
void set_focus(RunContext& run, std::u16string_view parameters);
void window_action(RunContext& run, std::u16string_view parameters);
void close_window(RunContext& run, std::u16string_view parameters);
void move_window(RunContext& run, std::u16string_view parameters);
void resize_window(RunContext& run, std::u16string_view parameters);
// window_reading.cpp
void get_window_pos(RunContext& run, std::u16string_view parameters);
void get_window_size(RunContext& run, std::u16string_view parameters);
void get_active_window(RunContext& run, std::u16string_view parameters);
void get_active_child(RunContext& run, std::u16string_view parameters);
void get_window_handle(RunContext& run, std::u16string_view parameters);
void get_window_process(RunContext& run, std::u16string_view parameters);
// window_texts.cpp
void get_window_text(RunContext& run, std::u16string_view parameters);
void get_window_list(RunContext& run, std::u16string_view parameters);
void find_window_by_text(RunContext& run, std::u16string_view parameters);

}  // namespace dorovev::windows
