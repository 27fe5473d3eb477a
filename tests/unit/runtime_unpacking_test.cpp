// Installing the carried VBScript runtimes and unpacking the text-capture libraries.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "container/runtime_unpacking.h"
#include "tests/support/fake_container_system.h"

namespace dorovev {
namespace {

const std::u16string kProgram = u"C:\\Apps\\macro.exe";
const std::u16string kSystem = u"C:\\Windows\\system32";
const std::u16string kTemporary = u"C:\\Temp\\";

// The files, programs and libraries unpacking reaches, in memory (a fake).
class FakeRuntimeSystem : public RuntimeSystem {
 public:
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> unwritable;
  std::set<std::u16string> loadable;  // paths and bare names that load
  std::vector<std::u16string> log;

  bool file_exists(std::u16string_view path) override { return files.count(std::u16string(path)) != 0; }
  bool write_file(std::u16string_view path, std::string_view bytes) override {
    log.push_back(u"write " + std::u16string(path));
    if (unwritable.count(std::u16string(path))) return false;
    files[std::u16string(path)] = std::string(bytes);
    return true;
  }
  bool delete_file(std::u16string_view path) override {
    log.push_back(u"delete " + std::u16string(path));
    return files.erase(std::u16string(path)) != 0;
  }
  void run_and_wait(std::u16string_view command_line) override {
    log.push_back(u"run " + std::u16string(command_line));
  }
  void append_to_path(std::u16string_view text) override { log.push_back(u"path " + std::u16string(text)); }
  void* load_library(std::u16string_view path) override {
    log.push_back(u"load " + std::u16string(path));
    return loadable.count(std::u16string(path)) ? &module : nullptr;
  }
  void free_library(void* library) override { log.push_back(library == &module ? u"free" : u"free unknown"); }

  int module = 0;  // its address is the loaded library's handle
};

// A program file carrying the given sections.
struct Macro {
  testing::FakeContainerSystem files;
  ScriptImage image{files, kProgram};
  explicit Macro(const std::map<std::string, std::string>& sections) {
    std::string bytes = "MZ program";
    for (const auto& [name, data] : sections) append_section(bytes, name, data);
    files.files[kProgram] = bytes;
  }
};

const std::map<std::string, std::string> kVBScript = {{"vb1", "VBSCRIPT"}, {"vb2", "MSSCRIPT"}, {"vb3", "SCRRUN"}};
const std::map<std::string, std::string> kTextCapture = {{"gw2", "GETWORD"}, {"gw5", "ICALL"}};

TEST(VBScriptRuntimes, AreInstalledInOrderAndRegisteredWhenMissing) {
  Macro macro(kVBScript);
  FakeRuntimeSystem system;
  system.unwritable.insert(kSystem + u"\\msscript.ocx");  // passed over; the rest goes on
  EXPECT_TRUE(install_vbscript_runtimes(macro.image, system, kSystem, false));
  const std::vector<std::u16string> expected = {
      u"write C:\\Windows\\system32\\vbscript.dll",
      u"write C:\\Windows\\system32\\msscript.ocx",
      u"write C:\\Windows\\system32\\scrrun.dll",
      u"run regsvr32.exe /s \"C:\\Windows\\system32\\vbscript.dll\"",
      u"run regsvr32.exe /s \"C:\\Windows\\system32\\msscript.ocx\"",
      u"run regsvr32.exe /s \"C:\\Windows\\system32\\scrrun.dll\"",
  };
  EXPECT_EQ(system.log, expected);
  EXPECT_EQ(system.files[kSystem + u"\\vbscript.dll"], "VBSCRIPT");
  EXPECT_EQ(system.files[kSystem + u"\\scrrun.dll"], "SCRRUN");
}

TEST(VBScriptRuntimes, AreLeftAloneWhenAvailableOrNotAllCarried) {
  const struct {
    std::map<std::string, std::string> sections;
    bool available;
  } cases[] = {
      {kVBScript, true},
      {{{"vb1", "VBSCRIPT"}, {"vb2", "MSSCRIPT"}}, false},
      {{{"vb1", "VBSCRIPT"}, {"vb2", "MSSCRIPT"}, {"vb3", ""}}, false},  // empty counts as absent
      {{}, false},
      {{}, true},
  };
  for (const auto& c : cases) {
    Macro macro(c.sections);
    FakeRuntimeSystem system;
    EXPECT_EQ(install_vbscript_runtimes(macro.image, system, kSystem, c.available), c.available);
    EXPECT_TRUE(system.log.empty());
  }
}

TEST(VBScriptRuntimes, CountAsInstalledOnlyWithAllThreeFiles) {
  FakeRuntimeSystem system;
  system.files[kSystem + u"\\vbscript.dll"] = "x";
  system.files[kSystem + u"\\msscript.ocx"] = "x";
  EXPECT_FALSE(vbscript_runtimes_installed(system, kSystem));
  system.files[kSystem + u"\\scrrun.dll"] = "x";
  EXPECT_TRUE(vbscript_runtimes_installed(system, kSystem));
  EXPECT_TRUE(vbscript_runtimes_installed(system, kSystem + u"\\"));
}

TEST(TextCaptureLibraries, AreUnpackedIntoTheTemporaryFolderAndLoadedFromThere) {
  Macro macro(kTextCapture);
  FakeRuntimeSystem system;
  system.loadable = {kTemporary + u"ICall.dll", u"ICall.dll"};
  TextCaptureUnpacking unpacked = unpack_text_capture(macro.image, system, kTemporary);
  EXPECT_TRUE(unpacked.unpacked);
  EXPECT_EQ(unpacked.library, &system.module);
  const std::vector<std::u16string> expected = {
      u"write C:\\Temp\\GetWordNT.dll",
      u"write C:\\Temp\\ICall.dll",
      u"path ;C:\\Temp\\\\",
      u"load C:\\Temp\\ICall.dll",
  };
  EXPECT_EQ(system.log, expected);
  EXPECT_EQ(system.files[kTemporary + u"ICall.dll"], "ICALL");

  system.log.clear();
  remove_text_capture_libraries(system, kTemporary, unpacked);
  const std::vector<std::u16string> removed = {u"free", u"delete C:\\Temp\\GetWordNT.dll",
                                               u"delete C:\\Temp\\ICall.dll"};
  EXPECT_EQ(system.log, removed);
  EXPECT_EQ(unpacked.library, nullptr);
  EXPECT_TRUE(system.files.empty());
}

TEST(TextCaptureLibraries, FallBackToTheBareNameAndRemoveOnlyWhatExists) {
  Macro macro(kTextCapture);
  FakeRuntimeSystem system;
  system.unwritable.insert(kTemporary + u"ICall.dll");
  system.loadable = {u"ICall.dll"};
  TextCaptureUnpacking unpacked = unpack_text_capture(macro.image, system, kTemporary);
  EXPECT_EQ(unpacked.library, &system.module);
  EXPECT_EQ(system.log.back(), u"load ICall.dll");

  system.log.clear();
  remove_text_capture_libraries(system, kTemporary, unpacked);
  const std::vector<std::u16string> removed = {u"free", u"delete C:\\Temp\\GetWordNT.dll"};
  EXPECT_EQ(system.log, removed);
}

TEST(TextCaptureLibraries, NeedBothSectionsAndLeaveNothingToRemoveOtherwise) {
  for (const auto& sections : {std::map<std::string, std::string>{{"gw2", "GETWORD"}},
                               std::map<std::string, std::string>{{"gw5", "ICALL"}}}) {
    Macro macro(sections);
    FakeRuntimeSystem system;
    system.files[kTemporary + u"ICall.dll"] = "someone else's";
    TextCaptureUnpacking unpacked = unpack_text_capture(macro.image, system, kTemporary);
    EXPECT_FALSE(unpacked.unpacked);
    remove_text_capture_libraries(system, kTemporary, unpacked);
    EXPECT_TRUE(system.log.empty());
    EXPECT_EQ(system.files.size(), 1u);
  }
}

}  // namespace
}  // namespace dorovev
