#include "platform/win32/process_start.h"

#include <string>

#include "platform/win32/wide.h"

namespace dorovev::win32 {

UniqueHandle start_process(std::u16string_view command_line, int show) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION started{};
  std::wstring writable = wide(command_line);  // CreateProcessW may write into it
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &started)) {
    return {};
  }
  ::CloseHandle(started.hThread);
  return UniqueHandle(started.hProcess);
}

}  // namespace dorovev::win32
