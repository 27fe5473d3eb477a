// Compile mode end to end: dorovev.exe -COMPILE writes a compiled macro, which then runs
// its script with its embedded command line; messages are read from the unattended file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win_test_support.h"

namespace dorovev {
namespace {

using wintest::ChildProcess;
using wintest::read_file;
using wintest::temp_file;
using wintest::wait_until;
using wintest::windows_path;
using wintest::write_file;

std::wstring runtime_path;
std::wstring icon_folder;
std::wstring probe_library;  // the text-capture stand-in
std::wstring probe_packer;   // the packer stand-in

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs a program to its end with the unattended file; gives its exit code and the texts
// of the dialogs it recorded.
struct Finished {
  DWORD exit_code = 259;
  std::vector<std::string> dialogs;
};

Finished run(const std::wstring& command_line) {
  const std::wstring dialogs = temp_file(L"dorovev_compile_test_dialogs.txt");
  write_file(dialogs, "");
  ::SetEnvironmentVariableW(L"DOROVEV_UNATTENDED", dialogs.c_str());
  Finished finished;
  ChildProcess program;
  if (!program.start(command_line)) {
    ADD_FAILURE() << program.error();
    return finished;
  }
  wait_until([&] { return !program.running(); }, std::chrono::seconds(60));
  ::GetExitCodeProcess(program.handle(), &finished.exit_code);
  const std::string text = read_file(dialogs);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    finished.dialogs.push_back(line.substr(line.rfind('\t') + 1));  // the text after kind and buttons
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return finished;
}

std::wstring compile_command(const std::wstring& script, const std::wstring& output, const std::wstring& switches) {
  return L"\"" + windows_path(runtime_path) + L"\" -COMPILE \"" + script + L"\" \"" + output + L"\" " + switches;
}

TEST(CompileMode, TheMacroRunsItsScriptWithItsEmbeddedCommandLine) {
  const std::wstring script = temp_file(L"dorovev_compile_a.scp");
  const std::wstring output = temp_file(L"dorovev_compile_a.exe");
  ::DeleteFileW(output.c_str());
  // MACRO_PARMS and the variables it sets; the exit code shows what the macro saw.
  write_file(script, "Let>p=%MACRO_PARMS%\r\nIf>%p%=x=5,good\r\nExit>1\r\nLabel>good\r\nExit>{%x%*8+2}\r\n");
  const Finished compiled = run(compile_command(script, output, L"-QUIET -OPTS:/x=5 -HIDE"));
  EXPECT_EQ(compiled.exit_code, 0u);
  EXPECT_TRUE(compiled.dialogs.empty());
  ASSERT_TRUE(exists(output));
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 42u);

  // Without -OPTS: no embedded command line, no parameters; without -QUIET, "Created:".
  write_file(script, "Exit>{LENGTH(%MACRO_PARMS%)+7}\r\n");
  const Finished plain = run(compile_command(script, output, L""));
  EXPECT_EQ(plain.dialogs, std::vector<std::string>{"Created: " + wintest::narrow(output)});
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 7u);
}

TEST(CompileMode, AnyScriptEncodingCompilesAndDelRemovesTheScript) {
  const std::wstring script = temp_file(L"dorovev_compile_b.scp");
  const std::wstring output = temp_file(L"dorovev_compile_b.exe");
  // UTF-8 with its byte-order mark, and a character outside the ANSI code page.
  write_file(script, "\xEF\xBB\xBFLet>s=\xE4\xB8\xAD\xC3\xA9\r\nExit>{LENGTH(%s%)*10}\r\n");
  run(compile_command(script, output, L"-QUIET -DEL"));
  EXPECT_FALSE(exists(script));
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 20u);
}

TEST(CompileMode, AMissingScriptIsReportedUnlessQuiet) {
  const std::wstring script = temp_file(L"dorovev_no_such_script.scp");
  const std::wstring output = temp_file(L"dorovev_compile_c.exe");
  ::DeleteFileW(output.c_str());
  EXPECT_EQ(run(compile_command(script, output, L"")).dialogs,
            std::vector<std::string>{"Error: " + wintest::narrow(script) + " does not exist."});
  EXPECT_TRUE(run(compile_command(script, output, L"-QUIET")).dialogs.empty());
  EXPECT_FALSE(exists(output));
}

// The data of icon resource 1 in British English.
std::string icon_one(const std::wstring& executable) {
  const HMODULE module = ::LoadLibraryExW(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string data;
  if (const HRSRC found = ::FindResourceExW(module, RT_ICON, MAKEINTRESOURCEW(1),
                                            MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK))) {
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    data.assign(bytes, ::SizeofResource(module, found));
  }
  ::FreeLibrary(module);
  return data;
}

TEST(CompileMode, AnIconFileReplacesTheIconImages) {
  const std::wstring script = temp_file(L"dorovev_compile_d.scp");
  const std::wstring output = temp_file(L"dorovev_compile_d.exe");
  write_file(script, "Exit>9\r\n");
  // The second tray picture: 16, 32 and 48 pixels in full colour.
  const std::wstring icon = icon_folder + L"\\tray2.ico";
  run(compile_command(script, output, L"-QUIET -OPTS:/a=1 -ICON:" + icon));
  const std::string icon_bytes = read_file(icon);
  ASSERT_GE(icon_bytes.size(), 22u);
  const auto dword = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(icon_bytes[at]) |
                                      static_cast<unsigned char>(icon_bytes[at + 1]) << 8 |
                                      static_cast<unsigned char>(icon_bytes[at + 2]) << 16 |
                                      static_cast<unsigned char>(icon_bytes[at + 3]) << 24);
  };
  const std::string sixteen = icon_bytes.substr(dword(18), dword(14));  // the first entry is 16 x 16
  EXPECT_EQ(icon_one(output), sixteen);
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 9u);  // the sections survived the update

  // An icon file without a 16 x 16 image changes nothing, with a message.
  const std::wstring big = temp_file(L"dorovev_big_only.ico");
  std::string only_big = icon_bytes.substr(0, 6) + icon_bytes.substr(6 + 16, 16) + icon_bytes.substr(6 + 32);
  only_big[4] = 2;
  write_file(big, only_big);
  const Finished refused = run(compile_command(script, output, L"-QUIET -OPTS: -ICON:" + big));
  EXPECT_EQ(refused.dialogs, std::vector<std::string>{"No 16x16 icon found in " + wintest::narrow(big)});
  EXPECT_NE(icon_one(output), sixteen);
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 9u);
}

TEST(CompileMode, ACompiledMacroCompilesAnotherWithoutItsOwnScript) {
  const std::wstring first_script = temp_file(L"dorovev_compile_e1.scp");
  const std::wstring second_script = temp_file(L"dorovev_compile_e2.scp");
  const std::wstring first = temp_file(L"dorovev_compile_e1.exe");
  const std::wstring second = temp_file(L"dorovev_compile_e2.exe");
  write_file(first_script, "Exit>11\r\n");
  write_file(second_script, "Exit>22\r\n");
  run(compile_command(first_script, first, L"-QUIET"));
  // The compiled macro runs its script first, then compiles, like the runtime would.
  EXPECT_EQ(run(L"\"" + first + L"\" -COMPILE \"" + second_script + L"\" \"" + second + L"\" -QUIET").exit_code, 11u);
  EXPECT_EQ(run(L"\"" + second + L"\"").exit_code, 22u);
}

// A folder of its own, emptied first.
std::wstring fresh_folder(const std::wstring& name) {
  const std::wstring folder = temp_file(name);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* file : {L"dorovev.exe", L"GetWordNT.dll", L"ICall.dll", L"upx.exe", L"probe.txt", L"m.exe",
                              L"m.scp"}) {
    ::DeleteFileW((folder + L"\\" + file).c_str());
  }
  return folder;
}

// An environment variable set for the programs a test starts, restored afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[32768];
    const DWORD length = ::GetEnvironmentVariableW(name, old, 32768);
    had_ = length > 0 && length < 32768;
    if (had_) old_.assign(old, length);
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

 private:
  const wchar_t* name_;
  bool had_ = false;
  std::wstring old_;
};

TEST(CompileMode, TextCaptureLibrariesTravelWithTheMacroForItsRunOnly) {
  // A copy of the runtime in a folder of its own: the libraries must stand beside it.
  const std::wstring folder = fresh_folder(L"dorovev_compile_gw");
  const std::wstring compiler = folder + L"\\dorovev.exe";
  ASSERT_TRUE(::CopyFileW(windows_path(runtime_path).c_str(), compiler.c_str(), FALSE));
  const std::wstring script = folder + L"\\m.scp";
  const std::wstring output = folder + L"\\m.exe";
  // The test looks at the whole text, comments included.
  write_file(script, "// reads the screen with GetTextAtPoint>\r\nExit>3\r\n");
  const std::wstring command = L"\"" + compiler + L"\" -COMPILE \"" + script + L"\" \"" + output + L"\"";
  const std::vector<std::string> missing = {"Cannot compile - cannot locate GetWord Runtimes",
                                            "Created: " + wintest::narrow(output)};
  EXPECT_EQ(run(command).dialogs, missing);

  for (const wchar_t* name : {L"GetWordNT.dll", L"ICall.dll"}) {
    ASSERT_TRUE(::CopyFileW(windows_path(probe_library).c_str(), (folder + L"\\" + name).c_str(), FALSE));
  }
  EXPECT_TRUE(run(command + L" -QUIET").dialogs.empty());

  // The macro unpacks them into its temporary folder, finds them on its PATH, loads
  // ICall.dll from there, and removes both when its run is over.
  const std::wstring unpacked = fresh_folder(L"dorovev_compile_gw_temp");
  const std::wstring report = folder + L"\\probe.txt";
  const ScopedVariable temp(L"TEMP", unpacked);
  const ScopedVariable tmp(L"TMP", unpacked);
  const ScopedVariable probe(L"DOROVEV_PROBE_FILE", report);
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 3u);
  const std::string bytes = read_file(report);
  const std::wstring seen(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  const std::wstring expected_start = unpacked + L"\\ICall.dll\ncompanion\n";
  EXPECT_EQ(seen.substr(0, expected_start.size()), expected_start) << wintest::narrow(seen);
  const std::wstring path_end = L";" + unpacked + L"\\\\\n";
  EXPECT_TRUE(seen.ends_with(path_end)) << wintest::narrow(seen);
  EXPECT_FALSE(exists(unpacked + L"\\ICall.dll"));
  EXPECT_FALSE(exists(unpacked + L"\\GetWordNT.dll"));
}

// Reads a UTF-16LE file.
std::wstring read_wide(const std::wstring& path) {
  const std::string bytes = read_file(path);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

TEST(CompileMode, APackerBesideTheRuntimeIsRunOnTheMacroAndWaitedFor) {
  const std::wstring folder = fresh_folder(L"dorovev_compile_upx");
  const std::wstring compiler = folder + L"\\dorovev.exe";
  ASSERT_TRUE(::CopyFileW(windows_path(runtime_path).c_str(), compiler.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW(windows_path(probe_packer).c_str(), (folder + L"\\upx.exe").c_str(), FALSE));
  const std::wstring script = folder + L"\\m.scp";
  const std::wstring output = folder + L"\\m.exe";
  write_file(script, "Exit>4\r\n");
  const std::wstring report = folder + L"\\probe.txt";
  const ScopedVariable probe(L"DOROVEV_PROBE_FILE", report);
  const Finished compiled = run(L"\"" + compiler + L"\" -COMPILE \"" + script + L"\" \"" + output + L"\"");
  // The stand-in writes its report half a second after it starts: it is there as soon as
  // compiling is over only because compiling waited for it, and "Created:" comes after.
  EXPECT_EQ(read_wide(report), folder + L"\\upx.exe -9 -qqq --force \"" + output + L"\"");
  EXPECT_EQ(compiled.dialogs, std::vector<std::string>{"Created: " + wintest::narrow(output)});
  EXPECT_EQ(run(L"\"" + output + L"\"").exit_code, 4u);
}

TEST(CompileMode, TheMacrosOwnHideKeepsItsWindowHiddenWhileItRuns) {
  const std::wstring script = temp_file(L"dorovev_compile_h.scp");
  const std::wstring output = temp_file(L"dorovev_compile_h.exe");
  write_file(script, "Wait>10\r\n");
  run(compile_command(script, output, L"-QUIET -OPTS:-HIDE"));
  ChildProcess macro;
  ASSERT_TRUE(macro.start(L"\"" + output + L"\"")) << macro.error();
  // Its main window exists, hidden; shown by someone else, it hides again as soon as the
  // program is activated.
  HWND form = nullptr;
  ASSERT_TRUE(wait_until([&] {
    form = nullptr;
    for (HWND w = ::FindWindowW(L"TfrmDivoruvo", nullptr); w;
         w = ::FindWindowExW(nullptr, w, L"TfrmDivoruvo", nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(w, &owner);
      if (owner == macro.id()) form = w;
    }
    return form != nullptr;
  }));
  EXPECT_FALSE(::IsWindowVisible(form));
  ::ShowWindow(form, SW_SHOWNA);
  ::SendMessageW(form, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_FALSE(::IsWindowVisible(form));
  macro.terminate();
}

TEST(CompileMode, TheProgramWithoutContainerOrArgumentsEndsAtOnce) {
  const Finished bare = run(L"\"" + windows_path(runtime_path) + L"\"");
  EXPECT_EQ(bare.exit_code, 0u);
  EXPECT_TRUE(bare.dialogs.empty());
}

}  // namespace
}  // namespace dorovev

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 5) {
    std::fprintf(stderr, "usage: compile_test <dorovev.exe> <icon folder> <text-capture stand-in> <packer stand-in>\n");
    return 2;
  }
  const std::string path = argv[1];
  const std::string icons = argv[2];
  dorovev::runtime_path.assign(path.begin(), path.end());
  dorovev::icon_folder = dorovev::windows_path(std::wstring(icons.begin(), icons.end()));
  const std::string probe = argv[3];
  dorovev::probe_library.assign(probe.begin(), probe.end());
  const std::string packer = argv[4];
  dorovev::probe_packer.assign(packer.begin(), packer.end());
  return RUN_ALL_TESTS();
}
