// A stand-in for the text-capture library (a fake: it captures no text). When it is
// loaded it writes, to the file that DOROVEV_PROBE_FILE names, in UTF-16LE, one line
// each: the path it was loaded from, "companion" or "no companion" (GetWordNT.dll beside
// it or not), and the PATH the process had.
#include <windows.h>

#include <string>

namespace {

std::wstring variable(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

void report(HINSTANCE instance) {
  const std::wstring report_file = variable(L"DOROVEV_PROBE_FILE");
  if (report_file.empty()) return;
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
  const std::wstring module(path, length);
  const std::wstring companion = module.substr(0, module.find_last_of(L'\\') + 1) + L"GetWordNT.dll";
  const bool beside = ::GetFileAttributesW(companion.c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::wstring text =
      module + L"\n" + (beside ? L"companion" : L"no companion") + L"\n" + variable(L"PATH") + L"\n";
  const HANDLE file = ::CreateFileW(report_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) report(instance);
  return TRUE;
}
