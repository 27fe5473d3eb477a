// Sections of the script container: finding them in a program file, adding them, and the
// image that is loaded, read, extended and saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "container/script_container.h"
#include "tests/support/fake_container_system.h"

namespace dorovev {
namespace {

using testing::FakeContainerSystem;
using namespace std::string_literals;

// Stands for the program image in front of the sections.
const std::string kProgram = "MZ\x90\0\3\0\0\0 program image \xff\x00 end"s;

TEST(FindFirst, AgreesWithAPlainSearchOnEverySmallCase) {
  // Every text up to 8 bytes and every pattern up to 5 bytes over two letters, which is
  // where the partial matches of a linear search go wrong if they do.
  const auto word = [](unsigned bits, unsigned length) {
    std::string text;
    for (unsigned i = 0; i < length; ++i) text.push_back((bits >> i) & 1 ? 'b' : 'a');
    return text;
  };
  for (unsigned text_length = 0; text_length <= 8; ++text_length) {
    for (unsigned text_bits = 0; text_bits < (1u << text_length); ++text_bits) {
      const std::string text = word(text_bits, text_length);
      for (unsigned pattern_length = 0; pattern_length <= 5; ++pattern_length) {
        for (unsigned pattern_bits = 0; pattern_bits < (1u << pattern_length); ++pattern_bits) {
          const std::string pattern = word(pattern_bits, pattern_length);
          for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            ASSERT_EQ(find_first(text, pattern, from), std::string_view(text).find(pattern, from))
                << '"' << text << "\" \"" << pattern << "\" from " << from;
          }
        }
      }
    }
  }
}

struct SectionCase {
  const char* what;
  std::string image;
  std::string name;
  std::string data;
};

TEST(FindSection, ReadsTheFirstCopyBetweenUpperCaseMarkers) {
  const SectionCase cases[] = {
      {"empty file", "", "script1", ""},
      {"no sections", kProgram, "script1", ""},
      {"lower-case name", kProgram + "SO!#SCRIPT1abcEO!#SCRIPT1", "script1", "abc"},
      {"mixed-case name", kProgram + "SO!#SCRIPT1abcEO!#SCRIPT1", "Script1", "abc"},
      {"upper-case name", kProgram + "SO!#SCRIPT1abcEO!#SCRIPT1", "SCRIPT1", "abc"},
      {"markers in the file are upper case", kProgram + "SO!#script1abcEO!#script1", "script1", ""},
      {"digits are kept", "SO!#VB1xEO!#VB1SO!#VB2yEO!#VB2", "vb2", "y"},
      {"other bytes are not upper-cased", "SO!#\xe9T\xe9" "dataEO!#\xe9T\xe9", "\xe9t\xe9", "data"},
      {"empty name", "SO!#dataEO!#", "", "data"},
      {"first copy wins", "SO!#CDT20081215EO!#CDTSO!#CDT20240101EO!#CDT", "cdt", "20081215"},
      {"a copy inside the program image wins", "SO!#CDTimageEO!#CDT" + kProgram + "SO!#CDT20081215EO!#CDT", "cdt",
       "image"},
      {"empty data", kProgram + "SO!#CDTEO!#CDT", "cdt", ""},
      {"start marker without end marker", kProgram + "SO!#SCRIPT1abc", "script1", ""},
      {"end marker cut short by the end of the file", kProgram + "SO!#SCRIPT1abcEO!#SCRIPT", "script1", ""},
      {"start marker ends the file", kProgram + "SO!#SCRIPT1", "script1", ""},
      {"end marker alone", kProgram + "EO!#SCRIPT1", "script1", ""},
      {"end marker only before the start marker", "EO!#CDT" + kProgram + "SO!#CDTx", "cdt", ""},
      {"stray end marker before the section", "EO!#CDT" + kProgram + "SO!#CDTxEO!#CDT", "cdt", "x"},
      {"end marker overlapping the start marker", "SO!#EO!#EO!#dEO!#EO!#", "eo!#", "EO!#d"},
      {"nested copy: the first end marker ends it", "SO!#ASO!#AinnerEO!#AouterEO!#A", "a", "SO!#Ainner"},
      {"section inside another: outer", "SO!#SCRIPT1SO!#CDTxEO!#CDTEO!#SCRIPT1", "script1", "SO!#CDTxEO!#CDT"},
      {"section inside another: inner", "SO!#SCRIPT1SO!#CDTxEO!#CDTEO!#SCRIPT1", "cdt", "x"},
      {"data ending in part of its end marker", "SO!#CDTxEO!#CDEO!#CDT", "cdt", "xEO!#CD"},
      {"shorter name first: short", "SO!#SCRIPT1oneEO!#SCRIPT1SO!#SCRIPT10tenEO!#SCRIPT10", "script1", "one"},
      {"shorter name first: long", "SO!#SCRIPT1oneEO!#SCRIPT1SO!#SCRIPT10tenEO!#SCRIPT10", "script10", "ten"},
      {"longer name first: long", "SO!#SCRIPT10tenEO!#SCRIPT10SO!#SCRIPT1oneEO!#SCRIPT1", "script10", "ten"},
      // The format has no end to a name: SCRIPT10's start marker begins with SCRIPT1's.
      {"longer name first: short reads the longer", "SO!#SCRIPT10tenEO!#SCRIPT10SO!#SCRIPT1oneEO!#SCRIPT1", "script1",
       "0ten"},
  };
  for (const SectionCase& c : cases) EXPECT_EQ(find_section(c.image, c.name), c.data) << c.what;
}

TEST(AppendSection, AddsUpperCaseMarkersAroundUnchangedData) {
  std::string image = kProgram;
  append_section(image, "cdt", "20081215");
  append_section(image, "Vb1", "");
  EXPECT_EQ(image, kProgram + "SO!#CDT20081215EO!#CDTSO!#VB1EO!#VB1");
}

TEST(AppendSection, AnyDataWithoutItsOwnEndMarkerReadsBack) {
  std::string every_byte;
  for (int i = 0; i < 256; ++i) every_byte.push_back(static_cast<char>(i));
  const std::string datas[] = {
      "",
      every_byte,
      std::string(1000, '\0'),
      "SO!#VB1EO!#VB1",                     // another section's markers
      "SO!#SCRIPT1",                        // its own start marker
      "eo!#script1EO!#SCRIPT",              // its end marker in lower case, or cut short
      "EO!#SCRIPT1"s.substr(0, 10) + "X",
  };
  for (const std::string& data : datas) {
    std::string image = kProgram;
    append_section(image, "script1", data);
    append_section(image, "cdt", "20081215");
    EXPECT_EQ(find_section(image, "script1"), data);
    EXPECT_EQ(find_section(image, "cdt"), "20081215");
  }
}

// Deterministic bytes that look like a program: every byte value, no markers.
std::string pseudo_random_bytes(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

TEST(FindSection, ReadsSectionsOfAProgramOfSeveralMegabytes) {
  std::string image = pseudo_random_bytes(4 << 20);
  const std::string script = pseudo_random_bytes(1 << 20).substr(7);
  append_section(image, "script1", script);
  append_section(image, "commandline", "0N7e0M3f");
  append_section(image, "cdt", "20081215");
  EXPECT_EQ(find_section(image, "script1"), script);
  EXPECT_EQ(find_section(image, "commandline"), "0N7e0M3f");
  EXPECT_EQ(find_section(image, "cdt"), "20081215");
  EXPECT_EQ(find_section(image, "vb1"), "");

  // A large section at the start of the file, read to its very end.
  std::string front;
  append_section(front, "vb1", image);
  EXPECT_EQ(find_section(front, "vb1").size(), image.size());
}

TEST(FindSection, StaysLinearOnFilesFullOfNearMatches) {
  // Four megabytes of "SO!#" and a name of 64 KB that repeats it: every fourth byte of
  // the file starts a partial match of 64 KB. A search that went back to retry from each
  // of them would compare some 10^11 bytes; a linear one reads the file once per marker.
  std::string image;
  image.reserve((4 << 20) + (1 << 18));
  for (int i = 0; i < (1 << 20); ++i) image += "SO!#";
  std::string name;
  for (int i = 0; i < (1 << 14); ++i) name += "so!#";
  name += "b";
  EXPECT_EQ(find_section(image, name), "");
  append_section(image, name, "found");
  EXPECT_EQ(find_section(image, name), "found");
}

class ScriptImageTest : public ::testing::Test {
 protected:
  static constexpr std::u16string_view kProgramPath = u"C:\\Apps\\macro.exe";

  ScriptImageTest() { files.files[std::u16string(kProgramPath)] = kProgram; }

  int reads_of(std::u16string_view path) const {
    return static_cast<int>(std::count(files.log.begin(), files.log.end(), u"read " + std::u16string(path)));
  }

  FakeContainerSystem files;
  ScriptImage image{files, std::u16string(kProgramPath)};
};

TEST_F(ScriptImageTest, LoadsTheProgramsOwnFileOnceWhenFirstNeeded) {
  EXPECT_TRUE(image.bytes().empty());
  EXPECT_EQ(reads_of(kProgramPath), 0);
  EXPECT_EQ(image.read_section("script1"), "");
  EXPECT_EQ(image.bytes(), kProgram);
  image.add_section("cdt", "20081215");
  EXPECT_EQ(image.read_section("CDT"), "20081215");
  EXPECT_EQ(reads_of(kProgramPath), 1);
}

TEST_F(ScriptImageTest, EveryOperationLoadsTheProgramIntoAnEmptyImage) {
  // Each one, as the first operation, sees the program's file and its sections.
  files.files[u"C:\\Apps\\macro.exe"] += "SO!#CDT20081215EO!#CDT";
  const std::string loaded = files.files[u"C:\\Apps\\macro.exe"];
  files.files[u"C:\\data.bin"] = "data";
  {
    ScriptImage fresh(files, u"C:\\Apps\\macro.exe");
    EXPECT_EQ(fresh.read_section("cdt"), "20081215");
  }
  {
    ScriptImage fresh(files, u"C:\\Apps\\macro.exe");
    EXPECT_TRUE(fresh.read_section_to_file("cdt", u"C:\\cdt.txt"));
    EXPECT_EQ(files.files[u"C:\\cdt.txt"], "20081215");
  }
  {
    ScriptImage fresh(files, u"C:\\Apps\\macro.exe");
    fresh.add_section("vb1", "x");
    EXPECT_EQ(fresh.bytes(), loaded + "SO!#VB1xEO!#VB1");
  }
  {
    ScriptImage fresh(files, u"C:\\Apps\\macro.exe");
    fresh.add_section_from_file("gw2", u"C:\\data.bin");
    EXPECT_EQ(fresh.bytes(), loaded + "SO!#GW2dataEO!#GW2");
  }
  {
    ScriptImage fresh(files, u"C:\\Apps\\macro.exe");
    fresh.save(u"C:\\copy.exe");
    EXPECT_EQ(files.files[u"C:\\copy.exe"], loaded);
  }
}

TEST_F(ScriptImageTest, LoadReplacesTheImageWithAnyFile) {
  image.add_section("cdt", "20081215");
  files.files[u"C:\\Out\\other.exe"] = "other SO!#CDT20240101EO!#CDT";
  image.load(u"C:\\Out\\other.exe");
  EXPECT_EQ(image.bytes(), "other SO!#CDT20240101EO!#CDT");
  EXPECT_EQ(image.read_section("cdt"), "20240101");
}

TEST_F(ScriptImageTest, FilesThatCannotBeReadRaiseAnErrorAndChangeNothing) {
  files.unreadable.insert(u"C:\\locked.bin");
  files.files[u"C:\\locked.bin"] = "x";
  image.add_section("cdt", "20081215");
  const std::string before = image.bytes();
  for (const std::u16string_view path : {u"C:\\missing.exe", u"C:\\locked.bin"}) {
    try {
      image.load(path);
      ADD_FAILURE() << "load did not fail";
    } catch (const ContainerFileError& error) {
      EXPECT_EQ(error.operation(), ContainerFileError::Operation::kRead);
      EXPECT_EQ(error.path(), path);
      EXPECT_EQ(error.message(), u"Cannot open file \"" + std::u16string(path) + u"\"");
      EXPECT_STREQ(error.what(), "Cannot open file");
    }
    EXPECT_THROW(image.add_section_from_file("vb1", path), ContainerFileError);
    EXPECT_EQ(image.bytes(), before);
  }
}

TEST_F(ScriptImageTest, AnUnreadableProgramFileIsAnErrorNotAnAbsentSection) {
  files.files.clear();
  EXPECT_THROW(image.read_section("script1"), ContainerFileError);
  EXPECT_THROW(image.add_section("cdt", "20081215"), ContainerFileError);
  EXPECT_THROW(image.save(u"C:\\out.exe"), ContainerFileError);
  EXPECT_FALSE(files.files.count(u"C:\\out.exe"));
}

TEST_F(ScriptImageTest, AddingASectionTwiceKeepsTheFirstValue) {
  image.add_section("cdt", "20081215");
  image.add_section("CDT", "20240101");
  EXPECT_EQ(image.read_section("cdt"), "20081215");
  EXPECT_EQ(image.bytes(), kProgram + "SO!#CDT20081215EO!#CDTSO!#CDT20240101EO!#CDT");
}

TEST_F(ScriptImageTest, AddsTheBytesOfAFile) {
  const std::string library = "MZ\0\0library\xff"s;
  files.files[u"C:\\Windows\\system32\\vbscript.dll"] = library;
  image.add_section_from_file("vb1", u"C:\\Windows\\system32\\vbscript.dll");
  EXPECT_EQ(image.read_section("vb1"), library);
}

TEST_F(ScriptImageTest, WritesASectionToAFileOnlyWhenItHasData) {
  image.add_section("gw2", "\0library"s);
  image.add_section("gw5", "");
  files.files[u"C:\\Temp\\ICall.dll"] = "old";
  const struct {
    const char* name;
    std::u16string path;
    bool written;
    std::optional<std::string> file;
  } cases[] = {
      {"gw2", u"C:\\Temp\\GetWordNT.dll", true, "\0library"s},
      {"gw5", u"C:\\Temp\\ICall.dll", false, "old"},  // empty: the file is left alone
      {"vb1", u"C:\\Temp\\vbscript.dll", false, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(image.read_section_to_file(c.name, c.path), c.written) << c.name;
    const auto file = files.files.find(c.path);
    EXPECT_EQ(file == files.files.end() ? std::nullopt : std::optional<std::string>(file->second), c.file) << c.name;
  }

  files.unwritable.insert(u"C:\\Windows\\system32\\x.dll");
  try {
    image.read_section_to_file("gw2", u"C:\\Windows\\system32\\x.dll");
    ADD_FAILURE() << "writing did not fail";
  } catch (const ContainerFileError& error) {
    EXPECT_EQ(error.operation(), ContainerFileError::Operation::kWrite);
    EXPECT_EQ(error.message(), u"Cannot create file \"C:\\Windows\\system32\\x.dll\"");
  }
}

TEST_F(ScriptImageTest, SaveWritesARelativePathBesideTheProgram) {
  files.current = u"C:\\Users\\ann\\";
  image.save(u"out.exe");
  EXPECT_EQ(files.files[u"C:\\Apps\\out.exe"], kProgram);
  EXPECT_FALSE(files.files.count(u"C:\\Users\\ann\\out.exe"));
  const std::vector<std::u16string> expected = {u"read C:\\Apps\\macro.exe", u"cd C:\\Apps\\",
                                                u"write C:\\Apps\\out.exe"};
  EXPECT_EQ(files.log, expected);
}

TEST_F(ScriptImageTest, SaveReportsAFileThatCannotBeWritten) {
  files.unwritable.insert(u"C:\\Out\\m.exe");
  try {
    image.save(u"C:\\Out\\m.exe");
    ADD_FAILURE() << "save did not fail";
  } catch (const ContainerFileError& error) {
    EXPECT_EQ(error.operation(), ContainerFileError::Operation::kWrite);
    EXPECT_EQ(error.path(), u"C:\\Out\\m.exe");
    EXPECT_STREQ(error.what(), "Cannot create file");
  }
}

TEST_F(ScriptImageTest, ACompiledMacroReadsBackWhatWasAddedAndSaved) {
  const std::string script = "HSCRYPT96\x01\x00\xfe\xff"s + std::string(300, '\x80');
  image.load(kProgramPath);
  image.add_section("script1", script);
  image.add_section("commandline", "0N7e0M3f");
  image.add_section("cdt", "20081215");
  image.save(u"C:\\Out\\m.exe");

  ScriptImage compiled(files, u"C:\\Out\\m.exe");
  EXPECT_EQ(compiled.read_section("script1"), script);
  EXPECT_EQ(compiled.read_section("commandline"), "0N7e0M3f");
  EXPECT_EQ(compiled.read_section("cdt"), "20081215");
  EXPECT_EQ(compiled.read_section("vb1"), "");
  EXPECT_EQ(compiled.bytes().substr(0, kProgram.size()), kProgram);
}

TEST(PathParts, SplitAtTheLastSeparator) {
  const struct {
    std::u16string path, directory, name;
  } cases[] = {
      {u"C:\\Apps\\macro.exe", u"C:\\Apps\\", u"macro.exe"},
      {u"C:\\macro.exe", u"C:\\", u"macro.exe"},
      {u"C:macro.exe", u"C:", u"macro.exe"},
      {u"\\\\server\\share\\m.exe", u"\\\\server\\share\\", u"m.exe"},
      {u"C:/Program Files/m.exe", u"C:/Program Files/", u"m.exe"},
      {u"macro.exe", u"", u"macro.exe"},
      {u"C:\\Apps\\", u"C:\\Apps\\", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(directory_of(c.path), c.directory);
    EXPECT_EQ(file_name_of(c.path), c.name);
  }
}

}  // namespace
}  // namespace dorovev
