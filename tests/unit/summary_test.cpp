#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "summary/findings.h"
#include "summary/report_reader.h"
#include "summary/summary_command.h"
#include "support/expected_reports.h"
#include "unit/summary_states.h"

namespace vorlix::summary {
namespace {

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
  std::string json =
      R"({"tool": "Vorlix", "release": "1.32", "computer": "WS-7",)"
      R"( "user": "Ren\u00e9e \ud83d\ude00", "program": "Ostrelan", "level": "Full",)"
      R"( "time": "2026-12-08T14:05:09+01:00", "failed": 2, "lines": [)";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string text;
    for (char c : lines[i]) text += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const bool passed = lines[i].rfind("   Passed: ", 0) == 0;
    const bool failed = lines[i].rfind("   FAILED: ", 0) == 0;
    json += std::string(i ? "," : "") + "\n  {\"text\": \"" + text + "\", \"check\": " +
            (passed   ? "\"passed\""
             : failed ? "\"failed\""
                      : "null") +
            "}";
  }
  const Report fromJson =
      Read("WS-7_x_Ostrelan_20261208-140509.json", "\xEF\xBB\xBF" + json + "]}");
  EXPECT_EQ(fromJson.computer, "WS-7");
  EXPECT_EQ(fromJson.user,
            "Ren\xC3\xA9"
            "e \xF0\x9F\x98\x80");
  EXPECT_EQ(fromJson.time, "2026-12-08T14:05:09+01:00");
  EXPECT_EQ(fromJson.level, "Full");  // as the JSON names it, not as the text would tell
  EXPECT_EQ(States(fromJson), "PPPPPPPP-FFPPPP-");
  const Report fromText = Read("WS-7_Ren_Ostrelan_20261208-140509-2.txt", Text(lines));
  EXPECT_EQ(fromText.computer, "WS-7");
  EXPECT_EQ(fromText.user, "Ren");
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
      {"\xEF\xBB\xBF\xC3\xA9", std::nullopt, "\xC3\xA9"},
      {"\xEF\xBB\xBF\xE9", 1251, "\xC3\xA9"},
      {"\xE9", 1251, std::nullopt},
  };
  for (const auto& page : pages) {
    EXPECT_EQ(TextReportToUtf8(page.bytes, page.twin), page.utf8) << page.bytes;
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
      {"{\"lines\": [{\"text\": []}]}", "nested deeper than a report"},
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
}

TEST(SummaryReader, ComputerAndUserFromTheNameOfAnOutDirReport) {
  const struct {
    const char* name;
    const char* computer;  // empty: not of that form
    const char* user;
  } cases[] = {
      {"WS-014_jdoe_Ostrelan_20261208-140509.txt", "WS-014", "jdoe"},
      {"WS-014_jdoe_ostrelan_20261208-140509-12.TXT", "WS-014", "jdoe"},
      {"WS-014_j_doe_Ostrelan_20261208-140509.txt", "WS-014", "j_doe"},
      {"WS-014_jdoe_Gaspin_20261208-140509.txt", "", ""},
      {"WS-014_Ostrelan_20261208-140509.txt", "", ""},
      {"_jdoe_Ostrelan_20261208-140509.txt", "", ""},
      {"WS-014_jdoe_Ostrelan_2026128-140509.txt", "", ""},
      {"Vorlix Report.txt", "", ""},
  };
  for (const auto& c : cases) {
    const auto parts = PartsOfReportName(c.name, "Ostrelan");
    EXPECT_EQ(parts ? parts->computer : "", c.computer) << c.name;
    EXPECT_EQ(parts ? parts->user : "", c.user) << c.name;
  }
}

// Every finding rule, each from a report the real driver wrote over a fake machine.
TEST(SummaryFindings, EachRuleFromTheDriversReport) {
  using State = std::function<void(InstalledMachine&)>;
  const auto key = [](const char* path) { return fakes::FakeFileSystem::Key(path); };
  struct Case {
    const char* name;
    State state;
    std::vector<std::string> rules;
    Lines lines;  // the lines the finding names (when one rule is expected)
    int level = 1;
    std::string program = "Ostrelan";
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
       {"   FAILED: L:\\Licence ...is missing", "   FAILED: L:\\Licence ...is missing"}},
      {"program drive not connected",
       [](InstalledMachine& m) {
         m.machine.registry.SetString(platform::RegistryRoot::LocalMachine,
                                      "Software\\Tarnwick\\Ostrelan", "Path", "Q:\\Ostrelan");
       },
       {"program-drive-not-connected"},
       {"   FAILED: Q:\\Ostrelan ...is missing", "   FAILED: 'C:' <> 'Q:'"}},
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
       [](InstalledMachine& m) { testing::LicenceOnDriveMappedTo(m, "\\\\far-server\\lic"); },
       {"licence-server-unreachable"},
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
    const Report report = Read("report.txt", Text(m.Report(c.level, c.program)));
    const auto findings = FindingsOf(report);
    std::vector<std::string> rules;
    for (const Finding& finding : findings) rules.emplace_back(finding.rule->id);
    EXPECT_THAT(rules, ElementsAreArray(c.rules)) << c.name;
    if (findings.size() != 1) continue;
    Lines named;
    for (std::size_t index : findings[0].lines) named.push_back(report.lines[index].text);
    EXPECT_THAT(named, ElementsAreArray(c.lines)) << c.name;
  }
}

// A folder of mixed reports through the command, with its exit statuses.
class SummaryCommand : public ::testing::Test {
 protected:
  SummaryCommand() {
    InstalledMachine clean;
    testing::ProgramOnTheLicenceServer(clean);
    cleanReport_ = Text(clean.Report(1));
    InstalledMachine unconnected;
    testing::LicenceOnUnconnectedDrive(unconnected);
    files_.AddFile("R:\\Reports\\WS-1_anna_Ostrelan_20261208-090000.txt", cleanReport_);
    files_.AddFile("R:\\Reports\\WS-2_ben_Ostrelan_20261208-090000.txt",
                   Text(unconnected.Report(1)));
    files_.AddFile("R:\\Reports\\notes.txt", "Notes\r\n");
    files_.AddFile("R:\\Reports\\huge.log", "");
    files_.Find("R:\\Reports\\huge.log")->size = kMaxReportBytes + 1;
    files_.AddFile("R:\\Reports\\Older\\WS-3_cleo_Ostrelan_20261201-090000.txt", cleanReport_);
  }

  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return RunSummary(args, files_, out_, err_);
  }

  fakes::FakeFileSystem files_;
  std::ostringstream out_;
  std::ostringstream err_;
  std::string cleanReport_;
};

TEST_F(SummaryCommand, PrintsReportsFindingsAndMostFailedChecksAndWritesThePage) {
  EXPECT_EQ(Run({"R:\\Reports", "--html", "R:\\Reports\\summary.html"}), kExitFailedChecks);
  EXPECT_EQ(err_.str(), "");
  const std::string out = out_.str();
  EXPECT_THAT(out, HasSubstr("2 reports, 2 skipped\n"));
  EXPECT_THAT(out, HasSubstr("  R:\\Reports\\huge.log: too large for a report\n"));
  EXPECT_THAT(out, HasSubstr("\nWS-2      ben   Ostrelan  Normal  8/12/2026 14:05:09       5\n"));
  EXPECT_THAT(out, HasSubstr("  R:\\Reports\\notes.txt: not a diagnostic report: no banner line"));
  EXPECT_THAT(out, HasSubstr("  Licence folder: drive letter not connected here (1 report)\n"));
  EXPECT_THAT(out, HasSubstr("    - WS-2 / ben / Ostrelan (Normal, 8/12/2026 14:05:09): lines"));
  EXPECT_THAT(out, HasSubstr("Checks that fail most often:\n  licence drive"));
  EXPECT_THAT(out, Not(HasSubstr("cleo")));
  EXPECT_THAT(files_.ReadAll("R:\\Reports\\summary.html"), HasSubstr("<!DOCTYPE html>"));

  // Again, recursing: the page itself is not read as a skipped file.
  EXPECT_EQ(Run({"R:\\Reports", "--recurse", "--html", "R:\\Reports\\summary.html"}),
            kExitFailedChecks);
  EXPECT_THAT(out_.str(), HasSubstr("3 reports, 2 skipped\n"));
  EXPECT_THAT(out_.str(), HasSubstr("WS-3 "));

  // A junction or link to a folder is not entered: it may lead back up the tree.
  files_.AddFolder("R:\\Reports\\Loop", platform::kAttrDirectory | platform::kAttrReparsePoint);
  files_.AddFile("R:\\Reports\\Loop\\WS-9_dan_Ostrelan_20261201-090000.txt", cleanReport_);
  EXPECT_EQ(Run({"R:\\Reports", "--recurse", "--html", "R:\\Reports\\summary.html"}),
            kExitFailedChecks);
  EXPECT_THAT(out_.str(), HasSubstr("3 reports, 2 skipped\n"));
  EXPECT_THAT(out_.str(), Not(HasSubstr("WS-9")));

  // A wildcard, as the console passes it on: the text reports only, here and below.
  EXPECT_EQ(Run({"R:\\Reports\\WS-*.txt", "--recurse"}), kExitFailedChecks);
  EXPECT_THAT(out_.str(), HasSubstr("3 reports\n"));
}

TEST_F(SummaryCommand, TheJsonTwinNamesTheCodePageAndWhatIsNotReadIsOnThePage) {
  const std::string cyrillic = cleanReport_ + "\xC4\xE0\r\n";
  files_.AddFile("R:\\Twin\\WS-5_yana_Ostrelan_20261208-090000.txt", cyrillic);
  files_.AddFile("R:\\Twin\\WS-5_yana_Ostrelan_20261208-090000.json",
                 "{\"codepage\": 1251, \"lines\": []}");
  files_.AddFile("R:\\Twin\\WS-6_olaf_Ostrelan_20261208-090000.txt", cyrillic);
  files_.AddFile("R:\\Twin\\WS-6_olaf_Ostrelan_20261208-090000.json", "{\"codepage\": 1252}");
  EXPECT_EQ(Run({"R:\\Twin", "R:\\Nowhere", "--html", "R:\\p.html"}), kExitNotRead);
  EXPECT_THAT(out_.str(), HasSubstr("WS-5_yana_Ostrelan_20261208-090000.txt: written in code page "
                                    "1251, which only its JSON twin gives in full\n"));
  EXPECT_THAT(out_.str(), HasSubstr("\nWS-6 "));
  EXPECT_THAT(files_.ReadAll("R:\\p.html"),
              HasSubstr("<li>R:\\Nowhere: no such file or folder</li>"));
}

TEST_F(SummaryCommand, ExitStatuses) {
  // Every check passed: all folders on the tool's own drive.
  files_.AddFile("R:\\Clean\\a.txt",
                 Text(testing::InstalledReport(kExecutable, kLocal, 1, kStamps, kListing)));
  files_.failReplace.insert(fakes::FakeFileSystem::Key("R:\\Locked.html"));
  files_.AddFile("R:\\Locked.html", "old page");
  files_.AddFolder("R:\\Denied");
  files_.failSearchIn.insert(fakes::FakeFileSystem::Key("R:\\Denied\\"));
  files_.AddFile("R:\\Unread\\b.txt", cleanReport_);
  files_.failRead.insert(fakes::FakeFileSystem::Key("R:\\Unread\\b.txt"));
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"R:\\Clean"}, kExitClean, ""},
      {{"R:\\Reports\\WS-1_anna_Ostrelan_20261208-090000.txt"}, kExitFailedChecks, ""},
      {{}, kExitBadUsage, "no report file or folder given"},
      {{"R:\\Reports", "--html"}, kExitBadUsage, "--html needs a file name"},
      {{"R:\\Reports", "--html", "a", "--html", "b"}, kExitBadUsage, "--html is given twice"},
      {{"R:\\Reports", "--all"}, kExitBadUsage, "unknown option '--all'"},
      // What cannot be listed or read is named, and only bad usage gives 2.
      {{"R:\\Nowhere"}, kExitNotRead, "vorlixc summary: R:\\Nowhere: no such file or folder\n"},
      {{"R:\\Nowhere\\*.txt"},
       kExitNotRead,
       "R:\\Nowhere\\*.txt: cannot be listed (system error 3)"},
      {{"R:\\Clean", "R:\\Denied"},
       kExitNotRead,
       "R:\\Denied\\*.*: cannot be listed (system error 5)"},
      {{"R:\\Clean", "R:\\Unread\\*.txt"},
       kExitNotRead,
       "R:\\Unread\\b.txt: cannot be read (system error 5)"},
      {{"R:\\Clean\\*.none"}, kExitClean, ""},
      {{"R:\\Reports", "--html", "R:\\Locked.html"},
       kExitPageNotWritten,
       "vorlixc summary: the page cannot be written: 'R:\\Locked.html' (system error 5)\n"},
      {{"R:\\Reports", "--html", "R:\\No\\Folder\\p.html"},
       kExitPageNotWritten,
       "cannot be written"},
      {{"R:\\Reports", "--html", "R:\\Clean"}, kExitPageNotWritten, "is a folder"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.status) << c.message;
    EXPECT_THAT(err_.str(), HasSubstr(c.message));
    EXPECT_EQ(err_.str().find(kSummaryUsage) != std::string::npos, c.status == kExitBadUsage)
        << c.message;
  }
  // A failed page leaves nothing beside its target, and an old page as it was.
  EXPECT_THAT(files_.FilesUnder("R:\\"), ElementsAreArray({"Locked.html"}));
  EXPECT_EQ(files_.ReadAll("R:\\Locked.html"), "old page");
}

}  // namespace
}  // namespace vorlix::summary
