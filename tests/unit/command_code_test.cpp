// Reducing command names to their dispatch codes.
#include <gtest/gtest.h>

#include "engine/command_code.h"
#include "tests/support/fake_platform.h"
#include "values/ascii.h"

namespace dorovev {
namespace {

using testing::u16;

struct CodeCase {
  const char* line;
  const char* code;
};

class CommandCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CommandCodeTest, ReducesTheNameToItsCode) {
  const std::u16string line = u16(GetParam().line);
  EXPECT_EQ(command_code_of(trim_left(line)).text(), u16(GetParam().code)) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Names, CommandCodeTest,
    ::testing::Values(
        // A name that matches no rule keeps its first three letters, upper-cased.
        CodeCase{"Let>x=1", "LET"}, CodeCase{"let>x = 1  ", "LET"}, CodeCase{"Add>x,1", "ADD"},
        CodeCase{"Let x=1", "LET"}, CodeCase{"If>x=1", "IF>"}, CodeCase{"If", "IF"}, CodeCase{"", ""},
        CodeCase{"VBSTART", "VBS"}, CodeCase{"//comment", "//C"},
        // Whole-name rules compare the whole name, prefix rules only their letters.
        CodeCase{"WaitWindowOpen>Notepad*", "WWO"}, CodeCase{"WAITWINDOWOPEN2>x", "WAI"},
        CodeCase{"Wait>1", "WAI"}, CodeCase{"WaitWindowOpen Notepad", "WAI"},
        CodeCase{"WaitWindowClosed>x", "WWC"}, CodeCase{"WaitReady>0", "WRD"},
        CodeCase{"WaitClipboardChanged>", "WCB"}, CodeCase{"waitscreenimage>a.bmp", "WSI"},
        CodeCase{"WaitScreenText>", "WST"}, CodeCase{"WaitKeyDown>F1", "WKD"},
        // The longest matching name decides.
        CodeCase{"GetWindowText>x", "GWT"}, CodeCase{"GetWindowTextEx>x", "GWE"},
        CodeCase{"GetWindowList>x", "GWL"}, CodeCase{"GetWindowSize>x", "GWS"},
        CodeCase{"GetCheckBox>x", "CBX"}, CodeCase{"GetDate>d", "GDT"}, CodeCase{"Getx>d", "GET"},
        CodeCase{"LibFunc>a", "LIB"}, CodeCase{"LibFuncW>a", "LIW"}, CodeCase{"LibLoad>a", "LLD"},
        CodeCase{"MessageModal>hi", "MDL"}, CodeCase{"Message>hi", "MSG"},
        CodeCase{"SetDialogObjectFocus>a", "DSF"}, CodeCase{"SetEnvVar>a", "SEV"},
        CodeCase{"CapsOff", "COF"}, CodeCase{"CapsOn", "CAP"}, CodeCase{"NumOff", "NOF"},
        CodeCase{"ScreenCapture>a", "SCP"}, CodeCase{"ScrollOff", "SOF"},
        CodeCase{"IfFileExists>a", "IFE"}, CodeCase{"IfFileChanged>a", "IFC"},
        CodeCase{"IfFileExistsNow>a", "IFF"}, CodeCase{"IfWindowOpen>a", "IFW"},
        CodeCase{"MoveWindow>a", "MVW"}, CodeCase{"MoveFile>a", "MOV"},
        CodeCase{"CloseDialog>d", "CDG"}, CodeCase{"ResetDialogAction>d", "RDA"},
        CodeCase{"RegistryDelVal>x", "RDV"}, CodeCase{"FileDate>x", "FDT"},
        CodeCase{"ReadFile>x", "RFL"}, CodeCase{"ReadLn>x", "RLN"}, CodeCase{"DayOfWeek>x", "DOW"},
        CodeCase{"DDEPoke>x", "DPK"}, CodeCase{"FindImagePos>x", "FIP"}, CodeCase{"FindWindow>x", "FIN"},
        CodeCase{"TelnetClose>x", "TNQ"}, CodeCase{"DBClose>x", "DBX"}, CodeCase{"DBQuery>x", "DBQ"},
        CodeCase{"FTPGetDirList>x", "FGD"}, CodeCase{"MouseMoveRel>1,1", "MMR"},
        CodeCase{"MouseOver>1", "MVR"}, CodeCase{"MouseMove>1,1", "MOU"},
        // Every name of three groups maps to one code.
        CodeCase{"WriteLn>f,r,t", "WLN"}, CodeCase{"Writexyz>f", "WLN"}, CodeCase{"wri", "WLN"},
        CodeCase{"ShutDownWindows>1", "SDW"}, CodeCase{"CompareBitmaps>a", "CPB"}));

TEST(CommandCode, PacksTextAndCompares) {
  using namespace codes;
  EXPECT_EQ(u"WWO"_code, CommandCode(u"WWO"));
  EXPECT_FALSE(u"WWO"_code == u"WWC"_code);
  EXPECT_FALSE(u"IF"_code == u"IF>"_code);
  EXPECT_EQ(CommandCode(u"ab").text(), u"ab");
  EXPECT_EQ(CommandCode().size(), 0u);
}

}  // namespace
}  // namespace dorovev
