#include "container/runtime_unpacking.h"

#include <iterator>

namespace dorovev {

std::u16string path_in(std::u16string_view directory, std::u16string_view name) {
  std::u16string path(directory);
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  path += name;
  return path;
}

bool runtime_files_present(RuntimeSystem& system, std::u16string_view directory, std::span<const RuntimeFile> files) {
  for (const RuntimeFile& file : files) {
    if (!system.file_exists(path_in(directory, file.name))) return false;
  }
  return true;
}

bool vbscript_runtimes_installed(RuntimeSystem& system, std::u16string_view system_directory) {
  return runtime_files_present(system, system_directory, kVBScriptRuntimes);
}

bool install_vbscript_runtimes(ScriptImage& image, RuntimeSystem& system, std::u16string_view system_directory,
                               bool available) {
  std::string carried[std::size(kVBScriptRuntimes)];
  for (std::size_t i = 0; i < std::size(kVBScriptRuntimes); ++i) {
    carried[i] = image.read_section(kVBScriptRuntimes[i].section);
    if (carried[i].empty()) return available;
  }
  if (available) return true;
  for (std::size_t i = 0; i < std::size(kVBScriptRuntimes); ++i) {
    system.write_file(path_in(system_directory, kVBScriptRuntimes[i].name), carried[i]);
  }
  for (const RuntimeFile& file : kVBScriptRuntimes) {
    system.run_and_wait(u"regsvr32.exe /s \"" + path_in(system_directory, file.name) + u"\"");
  }
  return true;
}

TextCaptureUnpacking unpack_text_capture(ScriptImage& image, RuntimeSystem& system,
                                         std::u16string_view temporary_directory) {
  std::string carried[std::size(kTextCaptureLibraries)];
  for (std::size_t i = 0; i < std::size(kTextCaptureLibraries); ++i) {
    carried[i] = image.read_section(kTextCaptureLibraries[i].section);
    if (carried[i].empty()) return {};
  }
  for (std::size_t i = 0; i < std::size(kTextCaptureLibraries); ++i) {
    system.write_file(path_in(temporary_directory, kTextCaptureLibraries[i].name), carried[i]);
  }
  system.append_to_path(u";" + std::u16string(temporary_directory) + u"\\");
  const std::u16string_view library = kTextCaptureLibraries[1].name;
  TextCaptureUnpacking result;
  result.unpacked = true;
  result.library = system.load_library(path_in(temporary_directory, library));
  if (!result.library) result.library = system.load_library(library);
  return result;
}

void remove_text_capture_libraries(RuntimeSystem& system, std::u16string_view temporary_directory,
                                   TextCaptureUnpacking& unpacking) {
  if (!unpacking.unpacked) return;
  if (unpacking.library) system.free_library(unpacking.library);
  unpacking.library = nullptr;
  for (const RuntimeFile& file : kTextCaptureLibraries) {
    const std::u16string path = path_in(temporary_directory, file.name);
    if (system.file_exists(path)) system.delete_file(path);
  }
}

}  // namespace dorovev
