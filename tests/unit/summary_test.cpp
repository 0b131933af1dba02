#include <cstring>
#include <map>
#include <sstream>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/text.h"
#include "summary/encoding.h"
#include "summary/findings.h"
#include "summary/report_names.h"
#include "summary/report_reader.h"
#include "summary/summary.h"
#include "summary/summary_page.h"
#include "support/expected_reports.h"
#include "support/report_json.h"
#include "unit/summary_states.h"

namespace vorlix::summary {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing::InstalledMachine;
using testing::Lines;
using ::testing::Not;

std::string Text(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// The states in check order: P passed, F failed, - absent.
std::string States(const Report& report) {
  std::string states;
  for (const CheckInfo& info : kChecks) {
    const CheckState state = report.State(info.check);
    states += state == CheckState::Passed ? 'P' : state == CheckState::Failed ? 'F' : '-';
  }
  return states;
}

Report Read(const std::string& name, const std::string& content) {
  ReadResult result = ReadReport("R:\\Reports\\" + name, content);
  EXPECT_TRUE(result.report) << name << ": " << result.skipReason;
  return result.report ? *result.report : Report{};
}

const std::string kExecutable = "C:\\Tools\\Vorlix.exe";
const testing::InstalledState kLocal = {"C:\\Tarnwick", "C:\\Prog", "C:\\Licence", "C:\\Projects"};
const Lines kStamps = {"   Passed: CreationTime=1550712832:30050933",
                       "   Passed: FatDateTime=0:15393"};
const Lines kListing = {"      Time=1008795648 Size=       0 Attr=      16 Name=."};

TEST(SummaryReader, GoldenReportsGiveTheStateOfEveryCheck) {
  // A virtualised ini file whose own lines read like check lines, and one that cannot be read.
  Lines lookalike = testing::InstalledReport(kExecutable, kLocal, 2, kStamps, kListing);
  std::replace(lookalike.begin(), lookalike.end(), std::string("   Users=7"),
               std::string("   FAILED: copied"));
  Lines unreadable = testing::InstalledReport(kExecutable, kLocal, 2, kStamps, kListing);
  unreadable.erase(std::find(unreadable.begin(), unreadable.end(), "   Users=7"));
  std::replace(unreadable.begin(), unreadable.end(), std::string("   [Ostrelan]"),
               std::string("   FAILED: Reading file failed"));
  // A heading this reader does not know: its failures belong to no check.
  Lines unknown = testing::InstalledReport(kExecutable, kLocal, 2, kStamps, kListing);
  unknown.insert(std::find(unknown.begin(), unknown.end(), "Checking project folder"),
                 {"Lookup licence server...", "   FAILED: lic-server ...is missing"});
  // A Full report shows either of its own sections: each alone tells the level.
  Lines noFormats = testing::InstalledReport(kExecutable, kLocal, 2, kStamps, kListing);
  const auto formats =
      std::find(noFormats.begin(), noFormats.end(), "Sections file format settings");
  noFormats.erase(formats, formats + 4);
  Lines noVirtualised = testing::InstalledReport(kExecutable, kLocal, 2, kStamps, kListing);
  const auto virtualised = std::find_if(
      noVirtualised.begin(), noVirtualised.end(),
      [](const std::string& line) { return line.starts_with("Checking virtualised"); });
  noVirtualised.erase(virtualised, virtualised + 5);
  struct Case {
    const char* name;
    Lines lines;
    const char* states;
    const char* level;
    int failedLines;
  };
  // Checks: maker folder, search, program folder, files, ini values, licence setting, folder,
  // as UNC, virtualised ini, licence drive, as UNC, write test, project setting, folder, write
  // test, file format settings.
  const Case cases[] = {
      {"installed, licence on a mapped drive", testing::kInstalledNormal, "PPPPPPPP-FFPPPP-",
       "Normal", 2},
      {"installed Normal", testing::InstalledReport(kExecutable, kLocal, 1, kStamps, kListing),
       "PPPPPPPP-PPPPPP-", "Normal", 0},
      {"installed Full", testing::InstalledReport(kExecutable, kLocal, 2, kStamps, kListing),
       "PPPPPPPPPPPPPPPP", "Full", 0},
      {"not installed Normal", testing::NotInstalledReport(kExecutable, "C:\\Work", "Gaspin", 1),
       "FFFFFFFF-PPFFFF-", "Normal", 15},
      {"not installed Full", testing::NotInstalledReport(kExecutable, "C:\\Work", "Gaspin", 2),
       "FFFFFFFFFPPFFFFF", "Full", 19},
      {"virtualised ini lines like checks", lookalike, "PPPPPPPPPPPPPPPP", "Full", 0},
      {"virtualised ini unreadable", unreadable, "PPPPPPPPFPPPPPPP", "Full", 1},
      {"unknown heading", unknown, "PPPPPPPPPPPPPPPP", "Full", 1},
      {"Full without file format settings", noFormats, "PPPPPPPPPPPPPPP-", "Full", 0},
      {"Full without the virtualised ini", noVirtualised, "PPPPPPPP-PPPPPPP", "Full", 0},
  };
  for (const Case& c : cases) {
    const Report report = Read("report.txt", Text(c.lines));
    EXPECT_EQ(States(report), c.states) << c.name;
    EXPECT_EQ(report.level, c.level) << c.name;
    EXPECT_EQ(report.failedLines, c.failedLines) << c.name;
    EXPECT_EQ(report.lines.size(), c.lines.size()) << c.name;
  }
}

TEST(SummaryReader, JsonFormAndAnsiTextGiveTheSameReport) {
  const Lines lines = testing::kInstalledNormal;
  const std::string json = testing::JsonReport(
      {"WS-7", "Ren\\u00e9e \\ud83d\\ude00", "Ostrelan", "Full", "2026-12-08T14:05:09+01:00"},
      lines);
  const Report fromJson = Read("WS-7_x_Ostrelan_20261208-140509.json", "\xEF\xBB\xBF" + json);
  EXPECT_EQ(fromJson.computer, "WS-7");
  EXPECT_EQ(fromJson.user,
            "Ren\xC3\xA9"
            "e \xF0\x9F\x98\x80");
  EXPECT_EQ(fromJson.time.shown, "2026-12-08 14:05:09 +01:00");
  EXPECT_EQ(fromJson.level, "Full");  // as the JSON names it, not as the text would tell
  EXPECT_EQ(States(fromJson), "PPPPPPPP-FFPPPP-");
  const Report fromText = Read("WS-7_Ren_Ostrelan_20261208-140509-2.txt", Text(lines));
  EXPECT_EQ(fromText.computer, "WS-7");
  EXPECT_EQ(fromText.user, "Ren");
  EXPECT_EQ(fromText.time.shown, "2026-12-08 14:05:09");
  ASSERT_EQ(fromJson.lines.size(), fromText.lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(fromJson.lines[i].text, fromText.lines[i].text);
    EXPECT_EQ(fromJson.lines[i].verdict, fromText.lines[i].verdict);
  }

  // Code page 1252: the euro sign and e acute of a saved report come out as UTF-8.
  Lines ansi = lines;
  ansi[29] = "   Passed: S:\\Licence \x80\xE9 ...found";
  EXPECT_EQ(Read("ansi.txt", Text(ansi)).lines[29].text,
            "   Passed: S:\\Licence \xE2\x82\xAC\xC3\xA9 ...found");

  // Code page 1252 unless a byte order mark or the JSON twin says otherwise.
  const struct {
    std::string bytes;
    std::optional<int> twin;
    std::optional<std::string> utf8;
  } pages[] = {
      {"\x80\xC3\xA9", std::nullopt, "\xE2\x82\xAC\xC3\x83\xC2\xA9"},
      {"\x80\xC3\xA9", 1252, "\xE2\x82\xAC\xC3\x83\xC2\xA9"},
      {"\xC3\xA9", 65001, "\xC3\xA9"},
      {"\xE9", 65001, "\xC3\xA9"},  // not UTF-8 after all
      {"\xF0\x9F\x98\x80", 65001, "\xF0\x9F\x98\x80"},
      {"\xF0\x9F\x98", 65001, "\xC3\xB0\xC5\xB8\xCB\x9C"},      // cut short
      {"\xE0\x80\xAF", 65001, "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},  // overlong
      {"\xED\xA0\x80", 65001, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"\xED\xBF\xBF", 65001, "\xC3\xAD\xC2\xBF\xC2\xBF"},  // a surrogate
      {"\xF4\x8F\xBF\xBF", 65001, "\xF4\x8F\xBF\xBF"},      // the last code point
      {"\xF4\x90\x80\x80", 65001, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // past it
      {"\xF8\x90\x80\x80", 65001, "\xC3\xB8\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // no lead byte
      {"\xFF", 65001, "\xC3\xBF"},
      {"\xEF\xBB\xBF\xC3\xA9", std::nullopt, "\xC3\xA9"},
      {"\xEF\xBB\xBF\xE9", 1251, "\xC3\xA9"},
      {"\xE9", 1251, std::nullopt},
  };
  for (const auto& page : pages) {
    const std::vector<char> exact(page.bytes.begin(),
                                  page.bytes.end());  // no terminator to lean on
    EXPECT_EQ(TextReportToUtf8({exact.data(), exact.size()}, page.twin), page.utf8) << page.bytes;
  }
}

TEST(SummaryReader, FilesThatAreNoDiagnosticReportAreSkippedWithTheReason) {
  const std::string heading = "\r\n" + testing::kBanner + "1/1/2026\r\n" + testing::kRule + "\r\n";
  const struct {
    std::string content;
    const char* reason;
  } cases[] = {
      {"Some notes\r\n", "no banner line"},
      {"\r\n" + testing::kBanner + "1/1/2026\r\nProgram : Ostrelan\r\n", "no rule line"},
      {heading + "Converting to UNC file paths\r\n", "no \"Program : \" line"},
      {heading + "Program : Ostrelan\r\n\r\nConverting to UNC file paths\r\n", "another kind"},
      {"{\"lines\": [{\"text\": 1}]}", "JSON: line 1 has no \"text\""},
      {"{\"lines\": [7]}", "line 1 is not an object"},
      {"{\"lines\": [{\"text\": \"a\", \"check\": \"maybe\"}]}", "unknown \"check\""},
      {"{\"lines\": [}",
       "not valid JSON (unexpected '}'; expected '[', '{', or a literal) at byte 12"},
      {"{\"lines\": [], \"failed\": 01}", "not valid JSON"},
      {"{\"lines\": \"x\"}", "no \"lines\" list"},
      {"{\"lines\": [], \"user\": \"\xC3\x28\"}", "invalid UTF-8 or \\u escape at byte "},
      {"{\"lines\": [{\"text\": \"\\ud800\"}]}", "invalid UTF-8 or \\u escape"},
      {"{\"lines\": [{\"text\": \"a\"}", "cut short at byte "},
      {"{\"lines\": [{\"text\": [[]]}]}", "nested deeper than a report"},
      {"{\"lines\": [{\"text\": []}]}", "line 1 has no \"text\""},
      {"{\"lines\": [{\"text\": \"a\", \"checkid\": \"licence-folder-unc2\"}]}",
       "line 1 has an unknown \"checkid\""},
      {"{\"lines\": [{\"text\": \"a\", \"checkid\": null, \"letterhere\": 1}]}",
       "\"letterhere\" is not true or false"},
      {"{\"lines\": [{\"text\": \"a\"}], \"findings\": {}}", "\"findings\" is not a list"},
      {"{\"lines\": [{\"text\": \"a\"}], \"findings\": [{\"lines\": [2]}]}",
       "finding 1 names a line the report does not have"},
      {"{\"lines\": [{\"text\": \"a\"}], \"findings\": [{\"lines\": [0]}]}",
       "finding 1 names a line the report does not have"},
      {"{\"lines\": [{\"text\": \"a\"}], \"findings\": [{\"rule\": \"x\"}]}",
       "finding 1 has no \"lines\" list"},
      {"{\"lines\": [], \"failed\": 1e999}", "a number out of range"},
      {"{\"lines\": [], \"failed\": 2147483648}", "\"failed\" is out of range"},
      {"{\"lines\": [], \"failed\": 18446744073709551615}", "\"failed\" is out of range"},
      {"{\"lines\": [], \"failed\": -1}", "\"failed\" is out of range"},
      {"{\"lines\": [], \"failed\": 1.5}", "\"failed\" is not a whole number"},
      {"{\"lines\": [], \"codepage\": 0}", "\"codepage\" is out of range"},
      {"{\"lines\": [], \"codepage\": 65536}", "\"codepage\" is out of range"},
      {"{\"lines\": [], \"computer\": 5}", "\"computer\" is not a text"},
      {std::string(100, '[') + std::string(100, ']'), "no banner line"},
      {[] {
         std::string deep;
         for (int i = 0; i < 100000; ++i) deep += "{\"a\": ";
         return deep + "1" + std::string(100000, '}');
       }(),
       "nested deeper than a report"},
  };
  for (const auto& c : cases) {
    const ReadResult result = ReadReport("x.txt", c.content);
    EXPECT_FALSE(result.report) << c.content;
    EXPECT_THAT(result.skipReason, HasSubstr(c.reason)) << c.content;
  }
  // The reason of a JSON file names no byte of it: the file's bytes are untrusted.
  for (const std::string end : {"\xC3\x28\"}", "", "\\q\"}", "\x01\"}", "\\u12\"}", "\\ud800\"}"}) {
    const std::string json = "{\"lines\": [], \"user\": \"<b>Zq" + end;
    const ReadResult result = ReadReport("x.json", json);
    ASSERT_FALSE(result.report) << json;
    EXPECT_THAT(result.skipReason, Not(HasSubstr("Zq"))) << result.skipReason;
    EXPECT_THAT(result.skipReason, Not(HasSubstr("<b>"))) << result.skipReason;
  }
  // A finding may rest on the report's last line, and on none past it.
  InstalledMachine clean;
  testing::AllPassing(clean);
  const Lines lines = clean.Report(1);
  const std::string json = testing::JsonReport(
      {"WS-1", "ann", "Ostrelan", "Normal", "2026-12-08T14:05:09+01:00"}, lines);
  for (const std::size_t last : {lines.size(), lines.size() + 1}) {
    const std::string found = json.substr(0, json.size() - 1) +
                              ", \"findings\": [{\"rule\": \"r\", \"title\": \"t\", "
                              "\"cause\": \"c\", \"repair\": \"p\", \"lines\": [1, " +
                              std::to_string(last) + "]}]}";
    const ReadResult result = ReadReport("x.json", found);
    EXPECT_EQ(result.report.has_value(), last == lines.size()) << result.skipReason;
  }
}

TEST(SummaryWalk, WildcardsMatchAsTheSystemDoes) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.txt", "WS-1_a_Ostrelan_20261208-140509.TXT", true},
      {"*.txt", "report.txt.json", false},
      {"WS-?_*", "WS-1_a", true},
      {"WS-?_*", "WS-12_a", false},
      {"*ab", "acb", false},  // a second try starts after the star again
      {"*abc", "ababc", true},
      {"ab*ba", "aba", false},  // the star's part starts after what came before it
      {"a*b*c", "axxbyyc", true},
      {"a*b*c", "axxcyyb", false},
      {"**", "", true},
      {"?", "", false},
      {"*a", "aa", true},
  };
  for (const auto& c : cases) {
    // The pattern as the start of a longer text: nothing past its end is read.
    const std::string longer = std::string(c.pattern) + "a";
    const std::string_view pattern(longer.data(), longer.size() - 1);
    EXPECT_EQ(MatchesWildcard(pattern, c.name), c.matches) << c.pattern << " " << c.name;
  }
}

TEST(SummaryReader, WhoAndWhenFromTheNameOfAnOutDirReport) {
  const struct {
    const char* name;
    const char* parsed;  // computer|user|program|stamp|copy|json; empty: not of that form
  } cases[] = {
      {"WS-014_jdoe_Ostrelan_20261208-140509.txt", "WS-014|jdoe|Ostrelan|20261208-140509|1|0"},
      {"WS-014_jdoe_ostrelan_20261208-140509-12.TXT", "WS-014|jdoe|Ostrelan|20261208-140509|12|0"},
      {"WS-014_j_doe_Gaspin_20261208-140509.json", "WS-014|j_doe|Gaspin|20261208-140509|1|1"},
      {"WS-014_jdoe_Notepad_20261208-140509.txt", ""},
      {"WS-014_Ostrelan_20261208-140509.txt", ""},
      {"_jdoe_Ostrelan_20261208-140509.txt", ""},
      {"WS-014__Ostrelan_20261208-140509.txt", ""},
      {"WS-014_jdoe_Ostrelan_2026128-140509.txt", ""},
      {"WS-014_jdoe_Ostrelan_2026120X-140509.txt", ""},
      {"WS-014_jdoe_Ostrelan_20261208_140509.txt", ""},
      {"WS-014_jdoe_Ostrelanx20261208-140509.txt", ""},
      {"WS-014_jdoe_Ostrelan_20261208-14050X.txt", ""},
      {"WS-014_jdoe_Ostrelan_20261208-140509-1234567.txt", ""},
      {"WS-014_jdoe_Ostrelan_20261208-140509.log", ""},
      {"Vorlix Report.txt", ""},
      {"20261208-140509.txt", ""},
      {"_20261208-140509.txt", ""},
  };
  for (const auto& c : cases) {
    const auto parts = ParseReportName(c.name);
    const std::string parsed = parts ? parts->computer + "|" + parts->user + "|" + parts->program +
                                           "|" + parts->stamp + "|" + std::to_string(parts->copy) +
                                           "|" + (parts->json ? "1" : "0")
                                     : "";
    EXPECT_EQ(parsed, c.parsed) << c.name;
  }
}

TEST(SummaryReader, OneTimeFormAndItsOrder) {
  const struct {
    const char* text;
    bool iso;           // else a stamp of a file name
    const char* shown;  // empty: refused
    const char* order;
  } cases[] = {
      {"2026-12-09T13:26:48+05:30", true, "2026-12-09 13:26:48 +05:30", "20261209132648"},
      {"2026-12-09T13:26:48-08:00", true, "2026-12-09 13:26:48 -08:00", "20261209132648"},
      {"2026-12-09T13:26:48Z", true, "2026-12-09 13:26:48 +00:00", "20261209132648"},
      {"2026-12-09T13:26:48", true, "2026-12-09 13:26:48", "20261209132648"},
      {"2026-02-30T13:26:48", true, "", ""},
      {"2026-12-31T23:59:59", true, "2026-12-31 23:59:59", "20261231235959"},
      {"2026-12-09T24:00:00", true, "", ""},
      {"2026-12-09T13:26:48+0530", true, "", ""},
      {"2026-12-09T13:26:48x05:30", true, "", ""},
      {"2026-12-09T13:26:48+0x:30", true, "", ""},
      {"2026-12-09T13:26:48+05-30", true, "", ""},
      {"2026-12-09T13:26:48+05:3x", true, "", ""},
      {"12/9/2026 1:26:48 PM", true, "", ""},
      {"2026x12-09T13:26:48", true, "", ""},
      {"2026-12x09T13:26:48", true, "", ""},
      {"2026-12-09x13:26:48", true, "", ""},
      {"2026-12-09T13x26:48", true, "", ""},
      {"2026-12-09T13:26x48", true, "", ""},
      {"20261209-132648", false, "2026-12-09 13:26:48", "20261209132648"},
      {"20261309-132648", false, "", ""},
      {"20261209-136048", false, "", ""},
      // Cut short: nothing past the end may be read.
      {"2026-12-09", true, "", ""},
      {"2026-12-09T13:26", true, "", ""},
      {"2026", true, "", ""},
      {"20261209-13", false, "", ""},
      {"20261209-1326489", false, "", ""},
  };
  for (const auto& c : cases) {
    // An exact heap copy, so that a read past its end is caught.
    const std::vector<char> exact(c.text, c.text + std::strlen(c.text));
    const std::string_view text(exact.data(), exact.size());
    const auto time = c.iso ? TimeFromIso(text) : TimeFromStamp(text);
    EXPECT_EQ(time ? time->shown : "", c.shown) << c.text;
    EXPECT_EQ(time ? time->order : "", c.order) << c.text;
  }
  EXPECT_EQ(SecondsBetween("20261231235959", "20270101000001"), 2);
  EXPECT_EQ(SecondsBetween("20240228120000", "20240301120000"), 2 * 86400);
  // A banner's time is shown as written and has no order.
  const Report saved = Read("Vorlix Report.txt", Text(testing::kInstalledNormal));
  EXPECT_EQ(saved.time.shown, "8/12/2026 14:05:09");
  EXPECT_FALSE(saved.time.Known());
}

// The checks the classifier finds in a text, as the driver's records give them.
void ExpectClassifiedAsWritten(const InstalledMachine::Written& written, const char* name) {
  const Report report = Read("report.txt", Text(written.lines));
  ASSERT_EQ(report.lines.size(), written.records.size()) << name;
  for (std::size_t i = 0; i < written.records.size(); ++i) {
    EXPECT_EQ(report.lines[i].check, written.records[i].check) << name << ", line " << i + 1;
    EXPECT_EQ(report.lines[i].verdict, written.records[i].verdict) << name << ", line " << i + 1;
  }
}

std::vector<std::string> RuleIds(const std::vector<Finding>& findings) {
  std::vector<std::string> ids;
  for (const Finding& finding : findings) ids.emplace_back(finding.rule->id);
  return ids;
}

// A JSON file from elsewhere may name checks and verdicts that its texts do not show; the rules
// read no message from such a line. Checks named for some lines only count as none.
TEST(SummaryReader, JsonChecksAreTakenAsNamedButNotTrustedBeyondTheirText) {
  InstalledMachine m;
  testing::LicenceOnUnconnectedDrive(m);
  InstalledMachine::Written written = m.Write(1);
  const testing::JsonFacts facts{"WS-1", "ann", "Ostrelan", "Normal", "2026-12-08T14:05:09+01:00"};
  const auto rules = [&] {
    return RuleIds(
        FindingsOf(Read("r.json", testing::JsonReport(facts, written.lines, &written.records))));
  };
  EXPECT_THAT(rules(), ElementsAre("licence-drive-not-connected"));
  for (std::size_t i = 0; i < written.lines.size(); ++i) {
    if (written.records[i].check == Check::LicenceFolderUnc && written.lines[i].size() > 11) {
      written.lines[i] = "x";  // shorter than any verdict's prefix
    }
  }
  EXPECT_THAT(rules(), ElementsAre());

  // Without a check id on one line, the whole file is classified from its text.
  InstalledMachine::Written plain = m.Write(1);
  std::string json = testing::JsonReport(facts, plain.lines, &plain.records);
  const std::string named = ", \"checkid\": \"licence-setting\"";
  json.erase(json.find(named), named.size());
  const Report classified = Read("r.json", json);
  EXPECT_EQ(States(classified), "PPPPPPFF-FFFPPP-");
  EXPECT_THAT(RuleIds(FindingsOf(classified)), ElementsAre("licence-letter-without-name"));

  // A write test that passed is no failure, whatever its message says.
  InstalledMachine readOnly;
  testing::ReadOnlyLicenceFolder(readOnly);
  InstalledMachine::Written forged = readOnly.Write(2);
  const auto forgedRules = [&] {
    return RuleIds(
        FindingsOf(Read("r.json", testing::JsonReport(facts, forged.lines, &forged.records))));
  };
  EXPECT_THAT(forgedRules(), ElementsAre("licence-not-writable"));
  for (std::size_t i = 0; i < forged.lines.size(); ++i) {
    if (forged.records[i].check == Check::LicenceWriteTest &&
        forged.records[i].verdict == report::CheckState::Failed) {
      forged.lines[i] = "   Passed: File creation failed";
      forged.records[i].verdict = report::CheckState::Passed;
    }
  }
  EXPECT_THAT(forgedRules(), ElementsAre());
}

// The golden machine states: the text classifier gives each line the check the driver named.
TEST(SummaryReader, TheClassifierFindsTheChecksTheDriverNamed) {
  for (int level : {1, 2}) {
    for (const char* program : {"Ostrelan", "Gaspin"}) {
      InstalledMachine m;
      const InstalledMachine::Written written = m.Write(level, program);
      ExpectClassifiedAsWritten(written, program);
      // Facts are recorded for missing folders only: Ostrelan's are all there.
      if (std::string_view(program) == "Ostrelan") {
        for (const auto& record : written.records) EXPECT_EQ(record.facts, report::PlaceFacts{});
      }
    }
  }
}

// Every finding rule, each from a report the real driver wrote over a fake machine: from the
// checks and facts the driver recorded, from its JSON form, and from its text alone, which
// names a cause only as far as the text proves it.
TEST(SummaryFindings, EachRuleFromTheDriversReport) {
  using State = std::function<void(InstalledMachine&)>;
  const auto key = [](const char* path) { return fakes::FakeFileSystem::Key(path); };
  using Ids = std::vector<std::string>;
  struct Case {
    const char* name;
    State state;
    Ids rules;
    Lines lines;  // the lines the finding names (when one rule is expected)
    int level = 1;
    std::string program = "Ostrelan";
    std::optional<Ids> fromText = std::nullopt;  // when the text alone tells less
  };
  const Case cases[] = {
      {"licence on the program's server as UNC", testing::ProgramOnTheLicenceServer, {}, {}, 2},
      {"licence on another server than the program",
       [](InstalledMachine&) {},
       {"licence-other-server"},
       {"   FAILED: 'S:' <> 'C:'", "   FAILED: '\\\\LIC-SERVER' <> 'C:'"}},
      {"licence drive not connected",
       testing::LicenceOnUnconnectedDrive,
       {"licence-drive-not-connected"},
       {"   FAILED: L:\\Licence ...is missing", "   FAILED: L:\\Licence ...is missing"},
       1,
       "Ostrelan",
       Ids{"licence-letter-without-name"}},
      {"licence folder a bare letter that is not connected",
       [](InstalledMachine& m) {
         m.machine.profile.Set(testing::kServerIni, "Ostrelan", "LicenseFolder", "L:");
       },
       {"licence-drive-not-connected"},
       {"   FAILED: L: ...is missing", "   FAILED: L: ...is missing"},
       1,
       "Ostrelan",
       Ids{"licence-letter-without-name"}},
      {"licence folder missing on a local drive: the letter is there",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder",
                               "C:\\Gone");
       },
       {"licence-letter-without-name"},
       {"   FAILED: C:\\Gone ...is missing", "   FAILED: C:\\Gone ...is missing"}},
      {"licence folder in UNC form missing both ways: no drive letter to blame",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder",
                               "\\\\lic-server\\gone\\Licence");
       },
       {"licence-share-unreachable"},
       {"   FAILED: \\\\lic-server\\gone\\Licence ...is missing",
        "   FAILED: \\\\lic-server\\gone\\Licence ...is missing",
        "   Passed: '\\\\LIC-SERVER' = '\\\\LIC-SERVER'"}},
      {"licence folder on another server, found as UNC only",
       [](InstalledMachine& m) {
         m.machine.profile.Set(testing::kServerIni, "Ostrelan", "LicenseFolder", "S:\\Lic2");
         m.machine.files.AddFolder("\\\\lic-server\\licences\\Lic2");
       },
       {"licence-drive-broken"},
       {"   FAILED: S:\\Lic2 ...is missing", "   Passed: \\\\lic-server\\licences\\Lic2 ...found"}},
      {"licence folder on another server, found as read only",
       [](InstalledMachine& m) { m.machine.network.connections["S:"] = "\\\\lic-server\\other"; },
       {},
       {}},
      {"program drive not connected",
       [](InstalledMachine& m) {
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path", "Q:\\Ostrelan");
       },
       {"program-drive-not-connected"},
       {"   FAILED: Q:\\Ostrelan ...is missing", "   FAILED: 'C:' <> 'Q:'"},
       1,
       "Ostrelan",
       Ids{"program-letter-without-name"}},
      {"program folder missing on a local drive: the letter is there",
       [](InstalledMachine& m) {
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path", "C:\\Gone");
       },
       {"program-letter-without-name"},
       {"   FAILED: C:\\Gone ...is missing", "   Passed: 'C:' = 'C:'"}},
      {"program folder missing, licence on another server: the servers are not compared",
       [](InstalledMachine& m) {
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path", "C:\\Gone");
         m.machine.profile.Set("C:\\Gone\\Ostrelan.Ini", "Ostrelan", "LicenseFolder",
                               "S:\\Licence");
       },
       {"program-letter-without-name"},
       {"   FAILED: C:\\Gone ...is missing", "   FAILED: '\\\\LIC-SERVER' <> 'C:'"}},
      {"program folder on a server that is gone, by UNC",
       [](InstalledMachine& m) {
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path",
                                      "\\\\gone\\apps\\Ostrelan");
         m.machine.files.unanswered.insert("\\\\gone\\apps");
       },
       {"program-server-gone"},
       {"   FAILED: \\\\gone\\apps\\Ostrelan ...is missing", "   FAILED: 'C:' <> '\\\\GONE'"},
       1,
       "Ostrelan",
       Ids{"program-missing-on-share"}},
      {"program folder not on a server that answers",
       [](InstalledMachine& m) {
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path",
                                      "\\\\lic-server\\apps\\Ostrelan");
       },
       {"program-missing-on-share"},
       {"   FAILED: \\\\lic-server\\apps\\Ostrelan ...is missing",
        "   FAILED: 'C:' <> '\\\\LIC-SERVER'"}},
      {"program folder on a server that is gone, by a connected letter",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path", "Q:\\Ostrelan");
         m.machine.network.connections["Q:"] = "\\\\gone\\apps";
         m.machine.files.unanswered.insert("q:");
       },
       {"program-server-gone"},
       {"   FAILED: Q:\\Ostrelan ...is missing", "   FAILED: 'C:' <> '\\\\GONE'"},
       1,
       "Ostrelan",
       Ids{"program-missing-on-share"}},
      {"licence drive broken",
       [](InstalledMachine& m) { testing::LicenceOnDriveMappedTo(m, "\\\\lic-server\\licences"); },
       {"licence-drive-broken"},
       {"   FAILED: T:\\Licence ...is missing",
        "   Passed: \\\\lic-server\\licences\\Licence ...found"},
       2},
      {"licence share missing on the program's server",
       [](InstalledMachine& m) { testing::LicenceOnDriveMappedTo(m, "\\\\lic-server\\gone"); },
       {"licence-share-unreachable"},
       {"   FAILED: T:\\Licence ...is missing",
        "   FAILED: \\\\lic-server\\gone\\Licence ...is missing",
        "   Passed: '\\\\LIC-SERVER' = '\\\\LIC-SERVER'"}},
      {"licence on another server that does not answer",
       [](InstalledMachine& m) {
         testing::LicenceOnDriveMappedTo(m, "\\\\far-server\\lic");
         m.machine.files.unanswered.insert("\\\\far-server\\lic");
         m.machine.files.unanswered.insert("t:");
       },
       {"licence-server-unreachable"},
       {"   FAILED: T:\\Licence ...is missing",
        "   FAILED: \\\\far-server\\lic\\Licence ...is missing",
        "   FAILED: '\\\\FAR-SERVER' <> '\\\\LIC-SERVER'"},
       1,
       "Ostrelan",
       Ids{"licence-missing-on-other-server"}},
      {"licence not on another server that answers",
       [](InstalledMachine& m) { testing::LicenceOnDriveMappedTo(m, "\\\\far-server\\lic"); },
       {"licence-missing-on-other-server"},
       {"   FAILED: T:\\Licence ...is missing",
        "   FAILED: \\\\far-server\\lic\\Licence ...is missing",
        "   FAILED: '\\\\FAR-SERVER' <> '\\\\LIC-SERVER'"}},
      {"licence folder read-only",
       testing::ReadOnlyLicenceFolder,
       {"licence-not-writable"},
       {"   Passed: S:\\Licence ...found", "   FAILED: File creation failed"},
       2},
      {"test file not read back",
       [&](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.files.failRead.insert(key("S:\\Licence\\az193201.txt"));
       },
       {"reads-intercepted"},
       {"   FAILED: Reading file failed"}},
      {"test file read back wrong",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.files.readsAs["c:\\projects\\az193201.txt"] = "x\r\ny\r\nz\r\n";
       },
       {"reads-intercepted"},
       {"   FAILED: File contents error"}},
      {"test file left behind",
       [&](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.files.failDelete.insert(key("S:\\Licence\\az193201.txt"));
       },
       {"test-file-left"},
       {"   FAILED: File deletion failed",
        "   FAILED: S:\\Licence\\az193201.txt ...is not deleted"}},
      {"program not installed",
       testing::ProgramOnTheLicenceServer,
       {"not-installed"},
       {"   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Delmoran\\Path=     ...missing"},
       2,
       "Delmoran"},
      {"maker folder at a drive root",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Tarnwick", "TarnWickPath", "C:\\");
       },
       {"maker-folder-root"},
       {"   FAILED: C:\\ ...search failed Reply=2 - Check that folder is not topmost"}},
      {"maker folder missing below a drive root: the same reply, no root",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Tarnwick", "TarnWickPath", "C:\\Gone");
       },
       {},
       {}},
      {"project folder missing",
       [](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.registry.SetString(platform::RegistryRoot::CurrentUser,
                                      "Software\\Tarnwick\\Tarnwick", "TarnWickProjectPath",
                                      "C:\\Gone");
       },
       {"project-folder"},
       {"   FAILED: C:\\Gone ...is missing", "   FAILED: File creation failed"}},
      {"project folder not writable",
       [&](InstalledMachine& m) {
         testing::ProgramOnTheLicenceServer(m);
         m.machine.files.failCreateIn.insert(key("C:\\Projects"));
       },
       {"project-folder"},
       {"   FAILED: File creation failed"}},
  };
  for (const Case& c : cases) {
    InstalledMachine m;
    c.state(m);
    const InstalledMachine::Written written = m.Write(c.level, c.program);
    ExpectClassifiedAsWritten(written, c.name);
    std::string text = Text(written.lines);
    const auto lines = findings::CheckedLines(text, written.records);
    const auto findings = findings::FindingsOf(lines);
    EXPECT_THAT(RuleIds(findings), ElementsAreArray(c.rules)) << c.name;
    if (findings.size() == 1) {
      Lines named;
      for (std::size_t index : findings[0].lines) named.push_back(lines[index].text);
      EXPECT_THAT(named, ElementsAreArray(c.lines)) << c.name;
    }
    const std::string json =
        testing::JsonReport({"WS-1", "ann", c.program, "Normal", "2026-12-08T14:05:09+01:00"},
                            written.lines, &written.records);
    EXPECT_THAT(RuleIds(FindingsOf(Read("report.json", json))), ElementsAreArray(c.rules))
        << c.name << " (JSON)";
    EXPECT_THAT(RuleIds(FindingsOf(Read("report.txt", text))),
                ElementsAreArray(c.fromText.value_or(c.rules)))
        << c.name << " (text)";
  }
}

// A share of several days: a row per computer, user and program from its latest report, since
// when it is in that state, and only the reports that this needs are read.
class SummaryHistory : public ::testing::Test {
 protected:
  SummaryHistory() {
    InstalledMachine clean;
    testing::AllPassing(clean);
    const Lines passing = clean.Report(1);
    InstalledMachine unconnected;
    testing::LicenceOnUnconnectedDrive(unconnected);
    const Lines failing = unconnected.Report(1);
    const Lines notInstalled = clean.Report(1, "Delmoran");
    const auto add = [&](const std::string& name, const Lines& lines) {
      share_.AddFile("R:\\Share\\" + name, Text(lines));
    };
    add("WS-A_anna_Ostrelan_20261201-090000.txt", failing);  // not needed: never read
    share_.failRead.insert(
        fakes::FakeFileSystem::Key("R:\\Share\\WS-A_anna_Ostrelan_20261201-090000.txt"));
    add("WS-A_anna_Ostrelan_20261201-100000.txt", passing);
    add("WS-A_anna_Ostrelan_20261202-100000.txt", failing);
    add("WS-A_anna_Ostrelan_20261203-100000.txt", failing);
    add("WS-A_anna_Ostrelan_20261204-100000.txt", failing);
    add("WS-B_ben_Ostrelan_20261203-080000.txt", failing);
    add("WS-B_ben_Ostrelan_20261204-080000.txt", passing);
    // Twins: the JSON side is the one read, and the two count once.
    add("WS-C_cleo_Ostrelan_20261204-093000.txt", failing);
    share_.AddFile(
        "R:\\Share\\json\\WS-C_cleo_Ostrelan_20261204-093000.json",
        testing::JsonReport({"WS-C", "cleo", "Ostrelan", "Normal", "2026-12-04T09:30:00+01:00"},
                            passing));
    add("WS-D_dan_Ostrelan_20261120-120000.txt", failing);
    add("WS-E_eve_Delmoran_20261204-070000.txt", notInstalled);
    add("Vorlix Report.txt", passing);
    // A JSON form under a name of its own: its fields tell whose it is.
    share_.AddFile(
        "R:\\Share\\saved.json",
        testing::JsonReport({"WS-F", "fay", "Ostrelan", "Normal", "2026-12-04T11:00:00+01:00"},
                            failing));
  }

  Summary Run(SummaryOptions options) {
    options.recurse = true;
    return Summarise(share_, {"R:\\Share"}, options);
  }

  fakes::FakeFileSystem share_;
};

TEST_F(SummaryHistory, LatestOfEachWorkstationWithSinceWhen) {
  std::size_t reads = 0;
  SummaryOptions options;
  options.progress = [&](std::size_t read, std::size_t total) {
    reads = read;
    EXPECT_EQ(total, 13u);
  };
  const Summary summary = Run(options);
  std::vector<std::string> rows;
  for (const Row& row : summary.rows) {
    rows.push_back(ComputerShown(row.latest.report) + " " + StateShown(summary, row) + " | " +
                   row.latest.report.time.shown);
  }
  // Failing first, the most failed checks first; then mended, silent and passing, by name.
  EXPECT_THAT(rows,
              ElementsAreArray({
                  "WS-E failing since 2026-12-04 07:00:00 | 2026-12-04 07:00:00",
                  "WS-A failing since 2026-12-02 10:00:00 | 2026-12-04 10:00:00",
                  "WS-F failing since 2026-12-04 11:00:00 +01:00 | 2026-12-04 11:00:00 +01:00",
                  "WS-B mended 2026-12-04 08:00:00 | 2026-12-04 08:00:00",
                  "WS-D silent since 2026-11-20 12:00:00 | 2026-11-20 12:00:00",
                  "Vorlix Report.txt passing | 8/12/2026 14:05:09",
                  "WS-C passing | 2026-12-04 09:30:00 +01:00",
              }));
  EXPECT_THAT(summary.skipped, ::testing::IsEmpty());
  EXPECT_EQ(reads, 11u);  // 13 files: neither the unneeded report nor the text twin
  EXPECT_EQ(summary.read, reads);
  EXPECT_EQ(summary.reports, 12u);
  EXPECT_TRUE(summary.AnyFailed());
  // Only a failing latest report keeps its text for the page.
  for (const Row& row : summary.rows) {
    EXPECT_EQ(row.latest.report.lines.empty(), !row.latest.report.AnyFailed())
        << row.latest.report.fileName;
  }
  std::vector<std::string> trend;
  for (const DayCount& day : summary.trend) {
    trend.push_back(day.day + " " + std::to_string(day.failing) + "/" +
                    std::to_string(day.reported));
  }
  EXPECT_THAT(trend, ElementsAreArray({"20261120 1/1", "20261201 0/1", "20261202 1/1",
                                       "20261203 2/2", "20261204 3/5"}));

  // Each finding names its report's time, once per rule, on standard output as on the page.
  std::ostringstream out;
  WriteSummaryText(summary, out);
  EXPECT_THAT(out.str(), HasSubstr("7 rows from 12 reports\n"));
  EXPECT_THAT(SummaryPage(summary),
              HasSubstr("<p>7 computers, users and programs from 12 reports"));
  EXPECT_THAT(out.str(), HasSubstr("    - WS-A / anna / Ostrelan (Normal, 2026-12-04 10:00:00): "
                                   "lines"));
  EXPECT_THAT(out.str(), Not(HasSubstr("WS-B / ben")));
  // Cause and repair in lines of at most 100 characters, every word kept.
  const std::string text = out.str();
  const auto unwrapped = [&](std::size_t at, const std::string& label) {
    std::string joined, lead = label;
    std::size_t before = 0;  // the length of the line before
    for (at = text.find(label, at); text.compare(at, lead.size(), lead) == 0;
         lead.assign(label.size(), ' ')) {
      const std::size_t end = text.find('\n', at);
      EXPECT_LE(end - at, 100u) << text.substr(at, end - at);
      // Each line is as full as it can be: the next one's first word did not fit on it.
      const std::size_t word = text.find_first_of(" \n", at + lead.size()) - at - lead.size();
      if (before > 0) {
        EXPECT_GT(before + 1 + word, 100u) << text.substr(at, end - at);
      }
      before = end - at;
      if (!joined.empty()) joined += ' ';
      joined.append(text, at + lead.size(), end - at - lead.size());
      at = end + 1;
    }
    return joined;
  };
  const auto groups = GroupFindings(summary);
  ASSERT_FALSE(groups.empty());
  for (const FindingGroup& group : groups) {
    const std::size_t title = text.find(std::string(group.rule->title) + " (");
    ASSERT_NE(title, std::string::npos) << group.rule->title;
    EXPECT_EQ(unwrapped(title, "    Cause:  "), group.rule->cause);
    EXPECT_EQ(unwrapped(title, "    Repair: "), group.rule->repair);
  }
}

// An unreadable report inside a run does not end it; the silent limit is exactly --silent-days;
// a file named twice in two cases, or the page's own name in another case, is read once.
TEST_F(SummaryHistory, UnreadableReportsTheSilentLimitAndNamesInAnotherCase) {
  const std::string passing = share_.ReadAll("R:\\Share\\WS-B_ben_Ostrelan_20261204-080000.txt");
  share_.AddFile("R:\\Share\\WS-A_anna_Ostrelan_20261203-120000.txt", "x");
  share_.failRead.insert(
      fakes::FakeFileSystem::Key("R:\\Share\\WS-A_anna_Ostrelan_20261203-120000.txt"));
  share_.AddFile("R:\\Share\\WS-B_ben_Ostrelan_20261203-120000.txt", "Some notes\r\n");
  // The newest report is WS-F's, 2026-12-04 11:00:00.
  share_.AddFile("R:\\Share\\WS-G_gus_Ostrelan_20261127-110000.txt", passing);
  share_.AddFile("R:\\Share\\WS-H_hal_Ostrelan_20261127-105959.txt", passing);
  share_.AddFile("R:\\Share\\WS-F_fay_Ostrelan_20261204-110000.txt",
                 share_.ReadAll("R:\\Share\\WS-B_ben_Ostrelan_20261203-080000.txt"));
  // A report under a name of its own ranks by its failed checks like any other.
  share_.AddFile("R:\\Share\\Zed.txt",
                 share_.ReadAll("R:\\Share\\WS-E_eve_Delmoran_20261204-070000.txt"));
  // A report listed at exactly the size limit is read; one byte more is skipped unread.
  share_.AddFile("R:\\Share\\WS-I_ida_Ostrelan_20261204-100000.txt", passing);
  share_.Find("R:\\Share\\WS-I_ida_Ostrelan_20261204-100000.txt")->size = kMaxReportBytes;
  share_.AddFile("R:\\Share\\WS-J_jo_Ostrelan_20261204-100000.txt", passing);
  share_.Find("R:\\Share\\WS-J_jo_Ostrelan_20261204-100000.txt")->size = kMaxReportBytes + 1;
  // Under names of their own, reports with a computer but no user are rows of their own.
  for (const char* time : {"2026-12-04T08:00:00+01:00", "2026-12-04T09:00:00+01:00"}) {
    share_.AddFile(
        std::string("R:\\Share\\k") + time[12] + ".json",
        testing::JsonReport({"WS-K", "", "Ostrelan", "Normal", time}, testing::CrLfLines(passing)));
  }
  const Summary summary = Run({});
  EXPECT_EQ(std::count_if(summary.rows.begin(), summary.rows.end(),
                          [](const Row& row) { return row.latest.report.computer == "WS-K"; }),
            2);
  std::map<std::string, std::string> states;
  for (const Row& row : summary.rows) {
    states[ComputerShown(row.latest.report)] = StateShown(summary, row);
  }
  EXPECT_EQ(states["WS-A"], "failing since 2026-12-02 10:00:00");
  EXPECT_EQ(states["WS-B"], "mended 2026-12-04 08:00:00");
  EXPECT_EQ(states["WS-G"], "passing");
  EXPECT_EQ(states["WS-H"], "silent since 2026-11-27 10:59:59");
  EXPECT_EQ(states["WS-I"], "passing");
  EXPECT_EQ(states.count("WS-J"), 0u);
  std::map<std::string, std::string> skipped;
  for (const SkippedFile& file : summary.skipped) skipped[file.path] = file.reason;
  EXPECT_EQ(skipped["R:\\Share\\WS-J_jo_Ostrelan_20261204-100000.txt"], kTooLarge);
  EXPECT_EQ(skipped.count("R:\\Share\\WS-I_ida_Ostrelan_20261204-100000.txt"), 0u);
  EXPECT_EQ(ComputerShown(summary.rows[1].latest.report), "Zed.txt");
  // The text twin of the JSON under a name of its own is the same report; what could not be read,
  // or is no report, is none: 12 reports, WS-G's, WS-H's, WS-I's, WS-K's two and Zed.txt.
  EXPECT_EQ(summary.reports, 18u);

  const std::string b = "R:\\Share\\WS-B_ben_Ostrelan_20261204-080000.txt";
  const std::string c = "R:\\Share\\WS-C_cleo_Ostrelan_20261204-093000.txt";
  SummaryOptions page;
  page.excluded = {AsciiLower(c)};
  const Summary once = Summarise(share_, {b, AsciiLower(b), c}, page);
  EXPECT_EQ(once.files, 1u);
  EXPECT_EQ(once.read, 1u);
  EXPECT_EQ(once.rows.size(), 1u);
  // "*.*" is every file, also one with no dot in its name, as the system has it.
  share_.AddFile("R:\\Other\\Sub\\report", passing);
  SummaryOptions recurse;
  recurse.recurse = true;
  EXPECT_EQ(Summarise(share_, {"R:\\Other"}, recurse).rows.size(), 1u);
}

TEST_F(SummaryHistory, EveryReportAndTheSilentLimit) {
  SummaryOptions all;
  all.allReports = true;
  const Summary every = Run(all);
  EXPECT_EQ(every.rows.size(), 11u);  // twins once; the unreadable one skipped
  // One workstation's reports of one state stay newest first.
  std::vector<std::string> times;
  for (const Row& row : every.rows) {
    if (ComputerShown(row.latest.report) == "WS-A") times.push_back(row.latest.report.time.shown);
  }
  EXPECT_THAT(times, ElementsAreArray({"2026-12-04 10:00:00", "2026-12-03 10:00:00",
                                       "2026-12-02 10:00:00", "2026-12-01 10:00:00"}));
  EXPECT_THAT(SummaryPage(every), HasSubstr("<p>11 reports"));
  ASSERT_EQ(every.skipped.size(), 1u);
  EXPECT_THAT(every.skipped[0].path, HasSubstr("20261201-090000"));
  SummaryOptions patient;
  patient.silentDays = 14;
  const Summary summary = Run(patient);
  for (const Row& row : summary.rows) {
    EXPECT_NE(row.state, RowState::Silent) << row.latest.report.fileName;
  }
}

}  // namespace
}  // namespace vorlix::summary
