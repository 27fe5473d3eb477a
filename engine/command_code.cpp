// The long-name rules that refine a line's three-letter code.
//
// Each rule belongs to the group of its first three letters and is tested only when the
// line's code is that group. Rules run in table order and a later match overwrites an
// earlier one, so the longest name wins (GETWINDOWTEXTEX after GETWINDOWTEXT). A prefix
// rule compares the first letters of the line; a whole-name rule compares the command
// name up to its first `>`, and never matches a line without `>`. An empty prefix rule
// maps every name of its group.
#include "engine/command_code.h"

#include <array>
#include <span>

#include "values/ascii.h"

namespace dorovev {
namespace {

using namespace codes;

enum class Test : std::uint8_t { kPrefix, kWholeName };

// Up to four upper-case characters from position 3 on, packed for one comparison.
constexpr std::uint64_t pack_after_group(std::u16string_view text) noexcept {
  std::uint64_t packed = 0;
  for (std::size_t i = 3; i < 7 && i < text.size(); ++i) packed |= std::uint64_t{upper_ascii(text[i])} << (16 * (i - 3));
  return packed;
}

struct Rule {
  constexpr Rule(std::u16string_view rule_name, Test rule_test, CommandCode rule_code) noexcept
      : name(rule_name), test(rule_test), code(rule_code), key(pack_after_group(rule_name)) {
    for (std::size_t i = 3; i < 7 && i < name.size(); ++i) mask |= std::uint64_t{0xFFFF} << (16 * (i - 3));
  }

  std::u16string_view name;
  Test test;
  CommandCode code;
  // The rule's letters after the group's three, as the line's are packed, and which of
  // them the rule has: most rules are told from a line by this one comparison.
  std::uint64_t key;
  std::uint64_t mask = 0;
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
constexpr Rule kWri[] = {{u"", Test::kPrefix, u"WLN"_code}};
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
constexpr Rule kShu[] = {{u"", Test::kPrefix, u"SDW"_code}};
constexpr Rule kLib[] = {
    {u"LIBFUNC", Test::kPrefix, u"LIB"_code},
    {u"LIBLOAD", Test::kPrefix, u"LLD"_code},
    {u"LIBFREE", Test::kPrefix, u"LFR"_code},
    {u"LIBFUNCW", Test::kPrefix, u"LIW"_code},
};
constexpr Rule kCom[] = {{u"", Test::kPrefix, u"CPB"_code}};
constexpr Rule kFin[] = {{u"FINDIMAGEPOS", Test::kPrefix, u"FIP"_code}};
constexpr Rule kTel[] = {
    {u"TELNETCONNECT", Test::kPrefix, u"TNC"_code},
    {u"TELNETSEND", Test::kPrefix, u"TNS"_code},
    {u"TELNETWAITFOR", Test::kPrefix, u"TNW"_code},
    {u"TELNETCLOSE", Test::kPrefix, u"TNQ"_code},
};
constexpr Rule kDbc[] = {{u"DBCLOSE", Test::kPrefix, u"DBX"_code}};

// Sorted by code, so that a line's group is found by binary search.
constexpr Group kGroups[] = {
    {u"CAP"_code, kCap}, {u"CLO"_code, kClo}, {u"COM"_code, kCom}, {u"DAY"_code, kDay},
    {u"DBC"_code, kDbc}, {u"DDE"_code, kDde}, {u"FIL"_code, kFil}, {u"FIN"_code, kFin},
    {u"FTP"_code, kFtp}, {u"GET"_code, kGet}, {u"IFF"_code, kIff}, {u"LIB"_code, kLib},
    {u"MES"_code, kMes}, {u"MOU"_code, kMou}, {u"MOV"_code, kMov}, {u"NUM"_code, kNum},
    {u"REA"_code, kRea}, {u"REG"_code, kReg}, {u"RES"_code, kRes}, {u"SCR"_code, kScr},
    {u"SET"_code, kSet}, {u"SHU"_code, kShu}, {u"TEL"_code, kTel}, {u"WAI"_code, kWai},
    {u"WRI"_code, kWri},
};

// The longest rule name, and so the most of a line that any rule looks at.
constexpr std::size_t kLongestRule = 22;

// Every rule name begins with its group's letters and fits the look-ahead.
constexpr bool rules_are_well_formed() {
  for (const Group& group : kGroups) {
    for (const Rule& rule : group.rules) {
      if (rule.name.empty() && rule.test == Test::kPrefix) continue;  // every name of the group
      if (rule.name.size() < 4 || rule.name.size() > kLongestRule) return false;
      if (!(CommandCode(rule.name.substr(0, 3)) == group.group)) return false;
    }
  }
  for (std::size_t i = 1; i < std::size(kGroups); ++i) {
    if (kGroups[i - 1].group.key() >= kGroups[i].group.key()) return false;
  }
  return true;
}
static_assert(rules_are_well_formed());

std::span<const Rule> rules_of_group(CommandCode code) noexcept {
  std::size_t lo = 0;
  std::size_t hi = std::size(kGroups);
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (kGroups[mid].group.key() < code.key()) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo < std::size(kGroups) && kGroups[lo].group == code ? kGroups[lo].rules : std::span<const Rule>();
}

// Every rule of a group shares the group's three letters, so rules are told apart from
// the fourth letter on. `packed` holds the line's letters from the fourth on, as
// pack_after_group packs them; `name_length` is the length of the command name before
// the first `>`, or npos.
bool rule_matches(const Rule& rule, std::u16string_view line, std::uint64_t packed, std::size_t name_length) noexcept {
  const std::size_t length = rule.name.size();
  if ((packed & rule.mask) != rule.key || line.size() < length) return false;
  if (rule.test == Test::kWholeName && name_length != length) return false;
  for (std::size_t i = 7; i < length; ++i) {
    if (upper_ascii(line[i]) != rule.name[i]) return false;
  }
  return true;
}

}  // namespace

CommandCode command_code_of(std::u16string_view line) noexcept { return command_code_of(line, line.find(u'>')); }

CommandCode command_code_of(std::u16string_view line, std::size_t separator) noexcept {
  const char16_t letters[3] = {line.size() > 0 ? upper_ascii(line[0]) : u'\0',
                               line.size() > 1 ? upper_ascii(line[1]) : u'\0',
                               line.size() > 2 ? upper_ascii(line[2]) : u'\0'};
  const CommandCode code(std::u16string_view(letters, line.size() < 3 ? line.size() : 3));
  if (line.size() < 3) return code;
  const std::span<const Rule> rules = rules_of_group(code);
  if (rules.empty()) return code;

  const std::uint64_t packed = pack_after_group(line);
  // The last rule that matches decides, so the rules are tried from the end.
  for (auto rule = rules.rbegin(); rule != rules.rend(); ++rule) {
    if (rule_matches(*rule, line, packed, separator)) return rule->code;
  }
  return code;
}

}  // namespace dorovev
