// The script container: named sections appended to a program file, and the in-memory
// image of that file from which they are read and to which they are added.
//
// A section is its start marker, its data and its end marker, with nothing in between:
//
//   "SO!#" NAME  data  "EO!#" NAME
//
// NAME is the section name with a to z upper-cased (other bytes are kept as they are),
// so "script1", "Script1" and "SCRIPT1" name the same section. There are no lengths, no
// alignment and no checksum; sections simply follow the program image and each other.
// A section is found by searching the whole file for its start marker (the first copy
// wins) and then for the first end marker after it. Two consequences follow from the
// format itself and are left to the writers:
//   - section data must not contain the section's own end marker (the data would end
//     there);
//   - a name that is a prefix of another name (SCRIPT1, SCRIPT10) reads the longer
//     section when that one comes first, because its start marker begins with the
//     shorter one's. The program's own names (SCRIPT1, COMMANDLINE, CDT, VB1 to VB3,
//     GW2, GW5) are no prefixes of each other.
// A program must not hold a whole marker as one piece of text in its own image, or it
// would find that copy first: markers are built at run time from "SO!#"/"EO!#" and the
// name.
//
// Files are reached only through ImageFiles, which the host implements with the
// system's file functions; the container itself stays free of any operating-system
// header, and tests give it files in memory.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dorovev {

// The file operations the container needs. Paths are UTF-16 as the system takes them;
// a relative path is relative to the current directory. The platform of the interpreter
// (engine/platform.h) has read_file, write_file and set_current_directory with exactly
// these meanings, so the Windows host can hand them through; the container does not
// depend on the interpreter for them.
class ImageFiles {
 public:
  virtual ~ImageFiles() = default;
  // The whole file, opened for reading with sharing allowed (a running program reads its
  // own file this way); nothing when it cannot be opened or read.
  virtual std::optional<std::string> read_file(std::u16string_view path) = 0;
  // Creates or replaces the file with exactly these bytes; false when it cannot.
  virtual bool write_file(std::u16string_view path, std::string_view bytes) = 0;
  virtual bool set_current_directory(std::u16string_view path) = 0;
};

// A file that the container could not read or write. The dispatcher and the host show
// what() (ASCII, without the path) or message() (with the path).
class ContainerFileError : public std::runtime_error {
 public:
  enum class Operation { kRead, kWrite };

  ContainerFileError(Operation operation, std::u16string path);

  Operation operation() const noexcept { return operation_; }
  const std::u16string& path() const noexcept { return path_; }
  // "Cannot open file "C:\x.exe"" or "Cannot create file "C:\x.exe"".
  std::u16string message() const;

 private:
  Operation operation_;
  std::u16string path_;
};

// "SO!#" and "EO!#" followed by the name with a to z upper-cased.
std::string section_start_marker(std::string_view name);
std::string section_end_marker(std::string_view name);

// The position of the first occurrence of `pattern` in `text`, or npos; an empty pattern
// is found at 0. Linear in the length of both, whatever they hold, so that looking up a
// section in a program file of several megabytes costs one pass.
std::size_t find_first(std::string_view text, std::string_view pattern, std::size_t from = 0);

// The data of the named section in `image`: the bytes after the first start marker up to
// the first end marker after it. Empty when the start marker or that end marker is
// missing. The view points into `image`.
std::string_view find_section(std::string_view image, std::string_view name);

// Appends the start marker, the data unchanged and the end marker. Nothing is searched
// or replaced: adding a section that exists adds a second copy, which readers never see.
void append_section(std::string& image, std::string_view name, std::string_view data);

// The directory part of a path, with its trailing separator ("C:\Apps\" for
// "C:\Apps\macro.exe", "C:\" for "C:\macro.exe"); empty when there is none.
std::u16string directory_of(std::u16string_view path);
// The part after the last separator.
std::u16string_view file_name_of(std::u16string_view path);

// The in-memory copy of one program file, on which all section operations work. The host
// keeps one for the life of the process. Until something is loaded it is empty, and
// every operation that needs the file first loads the running program's own file.
// Callers treat an empty section as absent.
class ScriptImage {
 public:
  // `program_path` is the full path of the running program's own file.
  ScriptImage(ImageFiles& files, std::u16string program_path);

  // Replaces the image with the whole file. Throws ContainerFileError (the image is then
  // unchanged) when the file cannot be read.
  void load(std::u16string_view path);

  // The section's data; empty when it is absent. Throws ContainerFileError when the
  // image is empty and the program's own file cannot be read.
  std::string read_section(std::string_view name);
  // Writes the section's data to the file (created or replaced) when the section is not
  // empty, and says whether it did. Throws ContainerFileError when the file cannot be
  // written.
  bool read_section_to_file(std::string_view name, std::u16string_view path);

  void add_section(std::string_view name, std::string_view data);
  // Keeps only the first `size` bytes of the image (all of it when it is shorter): the
  // program without the sections that follow it.
  void truncate(std::size_t size);
  // Adds the bytes of the file as the section. Throws ContainerFileError, adding
  // nothing, when the file cannot be read.
  void add_section_from_file(std::string_view name, std::u16string_view path);

  // Writes the image to the file, replacing it. The current directory is first set to the
  // program's directory, so that a relative path names a file there. Throws
  // ContainerFileError when the file cannot be written.
  void save(std::u16string_view path);

  const std::string& bytes() const noexcept { return image_; }
  const std::u16string& program_path() const noexcept { return program_path_; }

 private:
  void load_program_when_empty();

  ImageFiles& files_;
  std::u16string program_path_;
  std::string image_;
};

}  // namespace dorovev
