// The mouse commands: moving the pointer, pressing and releasing its buttons, and reading
// the pointer and text-caret positions. Events go into the system input stream with
// mouse_event; nothing is sent to a particular window.
#include <windows.h>

#include <optional>
#include <string>

#include "commands/input/input_commands.h"
#include "commands/input/mouse_move_target.h"
#include "commands/input/mouse_over.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/comma_split.h"

namespace dorovev {
namespace {

using namespace codes;

std::u16string decimal(long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// A movement event first, so that programs watching the mouse see it move, then the
// pointer placed exactly, whatever the acceleration made of the relative movement.
void move_pointer(ScreenPoint point) {
  ::mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(point.x), static_cast<DWORD>(point.y), 0, 0);
  ::SetCursorPos(point.x, point.y);
}

// MouseMove> and MouseMoveRel>; the relative one counts from the top-left corner of the
// foreground window (from the screen's when there is no foreground window).
template <bool Relative>
void move_command(RunContext& run, std::u16string_view parameters) {
  std::optional<ScreenPoint> point = read_move_target(run, parameters);
  if (!point) {
    run.report_runtime_error(translate(u"Invalid Numeric Value for MouseMove command."));
    return;
  }
  if constexpr (Relative) {
    RECT frame{};
    if (const HWND foreground = ::GetForegroundWindow(); foreground && ::GetWindowRect(foreground, &frame)) {
      // Wrapping arithmetic, as the 32-bit coordinates of the system would wrap.
      point->x = static_cast<std::int32_t>(static_cast<std::uint32_t>(point->x) + static_cast<std::uint32_t>(frame.left));
      point->y = static_cast<std::int32_t>(static_cast<std::uint32_t>(point->y) + static_cast<std::uint32_t>(frame.top));
    }
  }
  move_pointer(*point);
}

// The button commands act at the pointer: events without coordinates, back to back. They
// are the physical buttons; a swapped-buttons setting is not consulted.
template <DWORD Down, DWORD Up, int Clicks>
void click_command(RunContext& run, std::u16string_view) {
  run.platform.process_messages();
  for (int click = 0; click < Clicks; ++click) {
    ::mouse_event(Down, 0, 0, 0, 0);
    ::mouse_event(Up, 0, 0, 0, 0);
  }
}

template <DWORD Event>
void button_command(RunContext& run, std::u16string_view) {
  run.platform.process_messages();
  ::mouse_event(Event, 0, 0, 0, 0);
}

// GetCursorPos>x,y: the first item names the x variable, the rest the y variable.
void cursor_position_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit names = split_at_first_comma(parameters);
  POINT position{};
  if (!::GetCursorPos(&position)) position = POINT{};
  AssignVariable(run.variables, names.first, decimal(position.x));
  AssignVariable(run.variables, names.rest, decimal(position.y));
}

// GetCaretPos>x,y[,relative]: the caret of the foreground window's thread, in screen
// coordinates, or relative to the foreground window's top-left corner when the third
// item resolves to "1". The runtime joins that thread's input only for the question.
void caret_position_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit first = split_at_first_comma(parameters);
  const CommaSplit second = split_at_first_comma(first.rest);
  const std::u16string_view relative_text = split_at_first_comma(second.rest).first;
  const bool relative = run.resolve(relative_text) == std::u16string_view(u"1");

  const HWND foreground = ::GetForegroundWindow();
  const DWORD own_thread = ::GetCurrentThreadId();
  const DWORD foreground_thread = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
  const bool attached = foreground_thread != 0 && foreground_thread != own_thread &&
                        ::AttachThreadInput(own_thread, foreground_thread, TRUE);
  // GetCaretPos may give the last position of a caret that is gone; the thread's GUI
  // information says whether one exists now.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  const bool caret_known_absent = foreground_thread != 0 && ::GetGUIThreadInfo(foreground_thread, &gui) &&
                                  gui.hwndCaret == nullptr;
  POINT caret{};
  const bool has_caret = foreground && !caret_known_absent && ::GetCaretPos(&caret);
  RECT frame{};
  if (has_caret) {
    ::MapWindowPoints(foreground, HWND_DESKTOP, &caret, 1);
    if (relative && ::GetWindowRect(foreground, &frame)) {
      caret.x -= frame.left;
      caret.y -= frame.top;
    }
  }
  if (attached) ::AttachThreadInput(own_thread, foreground_thread, FALSE);

  if (has_caret) {
    AssignVariable(run.variables, first.first, decimal(caret.x));
    AssignVariable(run.variables, second.first, decimal(caret.y));
  } else {
    AssignVariable(run.variables, first.first, u"NO_CARET");
    AssignVariable(run.variables, second.first, u"NO_CARET");
  }
}

}  // namespace

void register_mouse_commands(CommandTable& table) {
  table.add(u"MOU"_code, move_command<false>);
  table.add(u"MMR"_code, move_command<true>);
  table.add(u"LCL"_code, click_command<MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1>);
  table.add(u"RCL"_code, click_command<MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1>);
  table.add(u"MCL"_code, click_command<MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 1>);
  table.add(u"LDB"_code, click_command<MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2>);
  table.add(u"RDB"_code, click_command<MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2>);
  table.add(u"MDB"_code, click_command<MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 2>);
  table.add(u"LDO"_code, button_command<MOUSEEVENTF_LEFTDOWN>);
  table.add(u"RDO"_code, button_command<MOUSEEVENTF_RIGHTDOWN>);
  table.add(u"MDO"_code, button_command<MOUSEEVENTF_MIDDLEDOWN>);
  table.add(u"LUP"_code, button_command<MOUSEEVENTF_LEFTUP>);
  table.add(u"RUP"_code, button_command<MOUSEEVENTF_RIGHTUP>);
  table.add(u"MUP"_code, button_command<MOUSEEVENTF_MIDDLEUP>);
  table.add(u"MVR"_code, mouse_over_command);
  table.add(u"GCP"_code, cursor_position_command);
  table.add(u"GTP"_code, caret_position_command);
}

}  // namespace dorovev
