// The long-name rules that refine a line's three-letter code.
//
// Each rule belongs to the group of its first three letters and is tested only when the
// line's code is that group. Rules run in table order and a later match overwrites an
// earlier one, so the longest name wins (GETWINDOWTEXTEX after GETWINDOWTEXT). A prefix
// rule compares the first letters of the line; a whole-name rule compares the command
// name up to its first `>`, and never matches a line without `>`. A group with an empty
// rule name maps every name of the group.
#include "engine/command_code.h"

#include <array>
#include <span>

#include "values/ascii.h"

namespace dorovev {
namespace {

using namespace codes;

enum class Test : std::uint8_t { kPrefix, kWholeName, kEveryName };

struct Rule {
  std::u16string_view name;
  Test test;
  CommandCode code;
};

struct Group {
  CommandCode group;
  std::span<const Rule> rules;
};

constexpr Rule kSet[] = {
    {u"SETENVVAR", Test::kPrefix, u"SEV"_code},
    {u"SETCHECKBOX", Test::kPrefix, u"SBX"_code},
    {u"SETCONTROLTEXT", Test::kPrefix, u"SCT"_code},
    {u"SETDIALOGOBJECTFONT", Test::kPrefix, u"SDF"_code},
    {u"SETDIALOGOBJECTCOLOR", Test::kPrefix, u"SDC"_code},
    {u"SETDIALOGOBJECTFOCUS", Test::kPrefix, u"DSF"_code},
    {u"SETDIALOGOBJECTVISIBLE", Test::kPrefix, u"SDV"_code},
};
constexpr Rule kWai[] = {
    {u"WAIT", Test::kWholeName, u"WAI"_code},
    {u"WAITWINDOWOPEN", Test::kWholeName, u"WWO"_code},
    {u"WAITWINDOWCLOSED", Test::kWholeName, u"WWC"_code},
    {u"WAITCURSORCHANGED", Test::kWholeName, u"WCC"_code},
    {u"WAITPIXELCOLOR", Test::kWholeName, u"WPC"_code},
    {u"WAITRECTCHANGED", Test::kWholeName, u"WRC"_code},
    {u"WAITREADY", Test::kWholeName, u"WRD"_code},
    {u"WAITKEYDOWN", Test::kWholeName, u"WKD"_code},
    {u"WAITWINDOWCHANGED", Test::kWholeName, u"WWX"_code},
    {u"WAITCLIPBOARD", Test::kPrefix, u"WCB"_code},
    {u"WAITSCREENIMAGE", Test::kPrefix, u"WSI"_code},
    {u"WAITSCREENTEXT", Test::kPrefix, u"WST"_code},
};
constexpr Rule kIff[] = {
    {u"IFFILEEXISTS", Test::kWholeName, u"IFE"_code},
    {u"IFFILECHANGED", Test::kWholeName, u"IFC"_code},
};
constexpr Rule kCap[] = {
    {u"CAPSON", Test::kPrefix, u"CAP"_code},
    {u"CAPSOFF", Test::kPrefix, u"COF"_code},
};
constexpr Rule kScr[] = {
    {u"SCROLLON", Test::kPrefix, u"SON"_code},
    {u"SCROLLOFF", Test::kPrefix, u"SOF"_code},
    {u"SCREENCAP", Test::kPrefix, u"SCP"_code},
};
constexpr Rule kNum[] = {
    {u"NUMON", Test::kPrefix, u"NON"_code},
    {u"NUMOFF", Test::kPrefix, u"NOF"_code},
};
constexpr Rule kGet[] = {
    {u"GETDATE", Test::kPrefix, u"GDT"_code},
    {u"GETTIME", Test::kPrefix, u"GTM"_code},
    {u"GETCLIPBOARD", Test::kPrefix, u"GCB"_code},
    {u"GETWINDOWPOS", Test::kPrefix, u"GWP"_code},
    {u"GETACTIVEWINDOW", Test::kPrefix, u"GAW"_code},
    {u"GETCURSORPOS", Test::kPrefix, u"GCP"_code},
    {u"GETENVVAR", Test::kPrefix, u"GEV"_code},
    {u"GETRECTCHECKSUM", Test::kPrefix, u"GRC"_code},
    {u"GETPIXELCOLOR", Test::kPrefix, u"GPC"_code},
    {u"GETCHECKBOX", Test::kPrefix, u"CBX"_code},
    {u"GETFILELIST", Test::kPrefix, u"GFL"_code},
    {u"GETWINDOWTEXT", Test::kPrefix, u"GWT"_code},
    {u"GETDIALOGACTION", Test::kPrefix, u"GDA"_code},
    {u"GETCONTROLTEXT", Test::kPrefix, u"GCT"_code},
    {u"GETWINDOWHANDLE", Test::kPrefix, u"GWH"_code},
    {u"GETCARETPOS", Test::kPrefix, u"GTP"_code},
    {u"GETWINDOWPROCESS", Test::kPrefix, u"GPW"_code},
    {u"GETTREENODE", Test::kPrefix, u"GTN"_code},
    {u"GETLISTITEM", Test::kPrefix, u"GLI"_code},
    {u"GETSCREENRES", Test::kPrefix, u"GSR"_code},
    {u"GETTEXTATPOINT", Test::kPrefix, u"GTA"_code},
    {u"GETTEXTINRECT", Test::kPrefix, u"GTI"_code},
    {u"GETWINDOWTEXTEX", Test::kPrefix, u"GWE"_code},
    {u"GETWINDOWLIST", Test::kPrefix, u"GWL"_code},
    {u"GETWINDOWSIZE", Test::kPrefix, u"GWS"_code},
};
constexpr Rule kMou[] = {
    {u"MOUSEMOVEREL", Test::kPrefix, u"MMR"_code},
    {u"MOUSEOVER", Test::kPrefix, u"MVR"_code},
};
constexpr Rule kMes[] = {
    {u"MESSAGE", Test::kPrefix, u"MSG"_code},
    {u"MESSAGEMODAL", Test::kPrefix, u"MDL"_code},
};
constexpr Rule kFtp[] = {
    {u"FTPGETFILE", Test::kPrefix, u"FGF"_code},
    {u"FTPPUTFILE", Test::kPrefix, u"FPF"_code},
    {u"FTPGETDIRLIST", Test::kPrefix, u"FGD"_code},
    {u"FTPDELFILE", Test::kPrefix, u"FDF"_code},
    {u"FTPRENAMEFILE", Test::kPrefix, u"FRF"_code},
    {u"FTPREMOVEDIR", Test::kPrefix, u"FRD"_code},
    {u"FTPMAKEDIR", Test::kPrefix, u"FMD"_code},
};
constexpr Rule kFil[] = {
    {u"FILESIZE", Test::kPrefix, u"FSZ"_code},
    {u"FILEDATE", Test::kPrefix, u"FDT"_code},
    {u"FILETIME", Test::kPrefix, u"FTM"_code},
};
constexpr Rule kRea[] = {
    {u"READLN", Test::kPrefix, u"RLN"_code},
    {u"READFILE", Test::kPrefix, u"RFL"_code},
};
constexpr Rule kWri[] = {{u"", Test::kEveryName, u"WLN"_code}};
constexpr Rule kDde[] = {
    {u"DDEREQUEST", Test::kPrefix, u"DRQ"_code},
    {u"DDEPOKE", Test::kPrefix, u"DPK"_code},
};
constexpr Rule kDay[] = {{u"DAYOFWEEK", Test::kPrefix, u"DOW"_code}};
constexpr Rule kMov[] = {{u"MOVEWINDOW", Test::kPrefix, u"MVW"_code}};
constexpr Rule kClo[] = {
    {u"CLOSEWINDOW", Test::kPrefix, u"CLO"_code},
    {u"CLOSEDIALOG", Test::kPrefix, u"CDG"_code},
};
constexpr Rule kRes[] = {
    {u"RESIZEWINDOW", Test::kPrefix, u"RSW"_code},
    {u"RESETDIALOGACTION", Test::kPrefix, u"RDA"_code},
};
constexpr Rule kReg[] = {
    {u"REGISTRYREADKEY", Test::kPrefix, u"RRK"_code},
    {u"REGISTRYWRITEKEY", Test::kPrefix, u"RWK"_code},
    {u"REGISTRYDELKEY", Test::kPrefix, u"RDK"_code},
    {u"REGISTRYDELVAL", Test::kPrefix, u"RDV"_code},
};
constexpr Rule kShu[] = {{u"", Test::kEveryName, u"SDW"_code}};
constexpr Rule kLib[] = {
    {u"LIBFUNC", Test::kPrefix, u"LIB"_code},
    {u"LIBLOAD", Test::kPrefix, u"LLD"_code},
    {u"LIBFREE", Test::kPrefix, u"LFR"_code},
    {u"LIBFUNCW", Test::kPrefix, u"LIW"_code},
};
constexpr Rule kCom[] = {{u"", Test::kEveryName, u"CPB"_code}};
constexpr Rule kFin[] = {{u"FINDIMAGEPOS", Test::kPrefix, u"FIP"_code}};
constexpr Rule kTel[] = {
    {u"TELNETCONNECT", Test::kPrefix, u"TNC"_code},
    {u"TELNETSEND", Test::kPrefix, u"TNS"_code},
    {u"TELNETWAITFOR", Test::kPrefix, u"TNW"_code},
    {u"TELNETCLOSE", Test::kPrefix, u"TNQ"_code},
};
constexpr Rule kDbc[] = {{u"DBCLOSE", Test::kPrefix, u"DBX"_code}};

constexpr Group kGroups[] = {
    {u"SET"_code, kSet}, {u"WAI"_code, kWai}, {u"IFF"_code, kIff}, {u"CAP"_code, kCap},
    {u"SCR"_code, kScr}, {u"NUM"_code, kNum}, {u"GET"_code, kGet}, {u"MOU"_code, kMou},
    {u"MES"_code, kMes}, {u"FTP"_code, kFtp}, {u"FIL"_code, kFil}, {u"REA"_code, kRea},
    {u"WRI"_code, kWri}, {u"DDE"_code, kDde}, {u"DAY"_code, kDay}, {u"MOV"_code, kMov},
    {u"CLO"_code, kClo}, {u"RES"_code, kRes}, {u"REG"_code, kReg}, {u"SHU"_code, kShu},
    {u"LIB"_code, kLib}, {u"COM"_code, kCom}, {u"FIN"_code, kFin}, {u"TEL"_code, kTel},
    {u"DBC"_code, kDbc},
};

bool rule_matches(const Rule& rule, std::u16string_view line, std::u16string_view name) noexcept {
  switch (rule.test) {
    case Test::kEveryName:
      return true;
    case Test::kPrefix:
      return starts_with_upper(line, rule.name);
    case Test::kWholeName:
      return name.size() == rule.name.size() && starts_with_upper(name, rule.name);
  }
  return false;
}

}  // namespace

CommandCode command_code_of(std::u16string_view line) noexcept {
  char16_t letters[3];
  const std::size_t length = line.size() < 3 ? line.size() : 3;
  for (std::size_t i = 0; i < length; ++i) letters[i] = upper_ascii(line[i]);
  CommandCode code(std::u16string_view(letters, length));
  if (length < 3) return code;

  for (const Group& group : kGroups) {
    if (!(group.group == code)) continue;
    const std::size_t separator = line.find(u'>');
    // On a line without `>` a whole-name rule has nothing to compare with.
    const std::u16string_view name = separator == std::u16string_view::npos ? std::u16string_view() : line.substr(0, separator);
    const bool has_name = separator != std::u16string_view::npos;
    CommandCode result = code;
    for (const Rule& rule : group.rules) {
      if (rule.test == Test::kWholeName && !has_name) continue;
      if (rule_matches(rule, line, name)) result = rule.code;
    }
    return result;
  }
  return code;
}

}  // namespace dorovev
