// The command line against the in-memory machine: usage, exit statuses, where reports go and
// what the repair commands refuse. The real program runs under Wine in vorlixc_test.cpp.
#include "console/commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/command_platform.h"
#include "common/release.h"
#include "console/output.h"
#include "console/texts.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_session.h"
#include "report/collected_name.h"
#include "report/report_driver.h"
#include "report/report_json.h"
#include "report/report_texts.h"
#include "report/temp_report.h"
#include "summary/report_reader.h"

namespace vorlix::console {
namespace {

using platform::RegistryRoot;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using Words = std::vector<std::string>;

constexpr const char* kMakerKey = "Software\\Tarnwick\\Tarnwick";
constexpr const char* kServerIni = "C:\\Prog\\Ostrelan\\Ostrelan.Ini";
const std::string kCollected = "C:\\Reports\\PC042_anna_Ostrelan_20261208-140509";

class ConsoleTest : public ::testing::Test {
 protected:
  fakes::FakeMachine m;
  fakes::FakeSession session;
  fakes::FakeStreams streams;
  System system{m.files, m.registry, m.profile, m.network, m.clock, session, streams};

  ConsoleTest() {
    m.files.executable = "C:\\Tools\\vorlixc.exe";
    m.files.AddFolder("C:\\Reports");
    m.files.AddFolder("C:\\Locked");
    m.files.failCreateIn.insert(fakes::FakeFileSystem::Key("C:\\Locked"));
  }

  int Run(const Words& words) { return Main(words, system); }

  // Ostrelan with every folder in place on C:, so that its "Normal" report has no failure.
  void InstallOstrelan() {
    m.registry.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnWickPath", "C:\\Tarnwick");
    m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan", "Path",
                         "C:\\Prog\\Ostrelan");
    m.registry.SetString(RegistryRoot::CurrentUser, kMakerKey, "TarnWickProjectPath",
                         "C:\\Projects");
    m.profile.Set(kServerIni, "Ostrelan", "LicenseFolder", "C:\\Licence");
    for (const char* folder : {"C:\\Tarnwick", "C:\\Licence", "C:\\Projects"}) {
      m.files.AddFolder(folder);
    }
    m.files.AddFile("C:\\Prog\\Ostrelan\\Ostrelan.exe", "MZ");
    m.files.AddFile(kServerIni, "[Ostrelan]\r\n");
  }

  // What the window shows for the same state: the driver's text through a temporary file.
  std::string WindowText(const std::string& program, int level) {
    report::DiagnosticReport driver(m.platform);
    return report::WriteThroughTempFile(
        m.files, [&](report::ReportFile& file) { driver.Run(file, program, level); });
  }
};

// As vorlixc.exe runs it, through the commands' platform: each report is a command of its own,
// which asks every drive letter again, and tells the session the section it is at (none yet
// when the tool's own drive is asked).
TEST_F(ConsoleTest, EachReportIsACommandOfItsOwnAndTellsItsSections) {
  InstallOstrelan();
  m.profile.Set(kServerIni, "Ostrelan", "LicenseFolder", "L:\\Licence");
  // Notes the section of the session at each question of the network.
  struct SectionAtEachAsk final : platform::NetworkNames {
    platform::NetworkNames* names = nullptr;
    CommandSession* session = nullptr;
    std::vector<std::string> sections;
    std::optional<std::string> Connection(const std::string& localName) override {
      session->Call("", [&] { sections.push_back(session->Current()->section); });
      return names->Connection(localName);
    }
  } asking;
  asking.names = &m.network;
  CommandPlatform commands({m.files, m.registry, m.profile, asking, m.clock});
  asking.session = &commands.session();
  System through{commands.files(),
                 commands.registry(),
                 commands.profile(),
                 commands.network(),
                 commands.clock(),
                 session,
                 streams,
                 &commands};
  Main(Words{"report", "Ostrelan"}, through);
  const auto firstReport = m.network.asked.size();
  ASSERT_GT(firstReport, 0u);
  EXPECT_THAT(asking.sections, ElementsAre("", std::string(report::texts::kCheckingLicenceFolder)));
  Main(Words{"report", "Ostrelan"}, through);
  EXPECT_EQ(m.network.asked.size(), 2 * firstReport) << "the second report asks again";
}

TEST_F(ConsoleTest, BadUsageGivesTheReasonAndTheUsageOnStandardError) {
  const std::pair<Words, const char*> rows[] = {
      {{}, "no command given"},
      {{"summarise"}, "unknown command 'summarise'"},
      {{"report", "Ostrelan", "Gaspin"}, "name one program, or --all"},
      {{"report", "Notepad"},
       "unknown program 'Notepad'; one of Ostrelan, Brannicle, Corvagent, Delmoran, Ferlund, "
       "Gaspin"},
      {{"report", "Ostrelan", "--out"}, "'--out' needs a value"},
      // An option where a value belongs is no value.
      {{"report", "Ostrelan", "--out", "--full"}, "'--out' needs a value"},
      {{"report", "--all", "--out-dir", "--full"}, "'--out-dir' needs a value"},
      {{"report", "Ostrelan", "--json", "--full"}, "'--json' needs a value"},
      {{"report", "--all", "--json-dir", "--full"}, "'--json-dir' needs a value"},
      {{"store-map", "--map", "--force"}, "'--map' needs a value"},
      {{"convert", "Ostrelan", "--map", "--yes"}, "'--map' needs a value"},
      {{"convert", "Ostrelan", "--out", "--dry-run"}, "'--out' needs a value"},
      {{"report", "Ostrelan", "--full", "--full"}, "'--full' is given twice"},
      {{"report", "Ostrelan", "--out", "a.txt", "--out-dir", "C:\\R"},
       "--out and --out-dir exclude each other"},
      {{"report", "--all", "--full"}, "--all needs --out-dir FOLDER"},
      {{"store-map", "Ostrelan"}, "store-map takes no program"},
      {{"convert", "Ostrelan"}, "convert needs --yes or --dry-run"},
      {{"convert", "Ostrelan", "--yes", "--dry-run"}, "--yes and --dry-run exclude each other"},
      {{"convert", "Ostrelan", "--yes", "--map-owner", "CORP\\nobody"},
       "no account or group is known here as 'CORP\\nobody'"},
  };
  for (const auto& [words, reason] : rows) {
    streams.err.clear();
    EXPECT_EQ(Run(words), kBadUsage) << reason;
    EXPECT_EQ(streams.err.find(std::string("vorlixc: ") + reason + "\r\nUsage:\r\n"), 0u)
        << streams.err;
  }
  EXPECT_THAT(streams.out, IsEmpty());
  EXPECT_TRUE(m.files.FilesUnder("C:\\").empty());
}

// The help states the exit statuses and the silent limit that the commands use.
TEST_F(ConsoleTest, HelpTellsTheStatusesAndDefaultsInForce) {
  EXPECT_EQ(Run({"--help"}), kDone);
  const auto status = [](int code) { return std::to_string(code) + " "; };
  for (const std::string& said :
       {"Exit status: " + status(kDone) + "done; " + status(kDoneWithFailures) + "done, and",
        "; " + status(kBadUsage) + "bad usage; " + status(kFileError) + "a file could",
        "; " + status(kNotElevated) + "convert without elevation.",
        "more than N days, default " + std::to_string(kDefaultSilentDays) + ", before"}) {
    EXPECT_THAT(streams.out, HasSubstr(said));
  }
}

TEST_F(ConsoleTest, ReportStatusSaysWhetherALineFailedAndOutDirNeverOverwrites) {
  InstallOstrelan();
  EXPECT_EQ(Run({"report", "oSTRELAN"}), kDone);
  EXPECT_EQ(streams.out, WindowText("Ostrelan", 1));
  EXPECT_EQ(Run({"report", "Ostrelan", "--full"}), kDoneWithFailures);  // no Sections values

  m.files.AddFile(kCollected + ".txt", "an earlier report");
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kDone);
  }
  EXPECT_EQ(m.files.ReadAll(kCollected + ".txt"), "an earlier report");
  EXPECT_EQ(m.files.ReadAll(kCollected + "-2.txt"), WindowText("Ostrelan", 1));
  EXPECT_TRUE(m.files.FileExists(kCollected + "-3.txt"));
  EXPECT_THAT(streams.err, HasSubstr("vorlixc: written: " + kCollected + "-3.txt\r\n"));

  // An output that cannot be written leaves nothing behind, and the other output still goes.
  streams.err.clear();
  EXPECT_EQ(Run({"report", "Ostrelan", "--out", "C:\\Locked\\r.txt", "--json", "C:\\r.json"}),
            kFileError);
  EXPECT_TRUE(m.files.FilesUnder("C:\\Locked").empty());
  EXPECT_THAT(streams.err, HasSubstr("vorlixc: cannot write 'C:\\Locked\\r.txt': "));
  EXPECT_TRUE(m.files.FileExists("C:\\r.json"));
  streams.failOut = true;
  EXPECT_EQ(Run({"report", "Ostrelan"}), kFileError);
  EXPECT_TRUE(m.files.FilesUnder("C:\\Temp").empty());  // no temporary report file either
  EXPECT_EQ(report::IsoLocalTime(m.clock.now, -330), "2026-12-08T14:05:09-05:30");
  EXPECT_EQ(report::IsoLocalTime(m.clock.now, 0), "2026-12-08T14:05:09+00:00");

  // The JSON reads back as the report: its facts, its lines, their checks and the failures.
  streams.failOut = false;
  EXPECT_EQ(Run({"report", "Ostrelan", "--full", "--json", "C:\\full.json"}), kDoneWithFailures);
  const report::json::Document json = report::json::Read(m.files.ReadAll("C:\\full.json"));
  EXPECT_EQ(std::tie(json.tool, json.release, json.computer, json.user, json.program, json.level,
                     json.time),
            std::tie("Vorlix", VORLIX_RELEASE, "PC042", "anna", "Ostrelan", "Full",
                     "2026-12-08T14:05:09+01:00"));
  EXPECT_EQ(json.codePage, 1252);
  std::string joined;
  int failed = 0;
  for (const report::json::Line& line : json.lines) {
    joined += line.text + "\r\n";
    failed += line.check == report::json::LineCheck::Failed;
    EXPECT_EQ(line.check == report::json::LineCheck::Passed, line.text.starts_with("   Passed: "));
    EXPECT_EQ(line.check == report::json::LineCheck::Failed, line.text.starts_with("   FAILED: "));
  }
  EXPECT_EQ(joined, WindowText("Ostrelan", 2));
  EXPECT_GT(failed, 0);
  EXPECT_EQ(json.failed, failed);
}

// With every copy number taken the folder is taken for broken: the report is not written and no
// temporary file stays.
TEST_F(ConsoleTest, AFolderWithEveryNameTakenIsAFileError) {
  InstallOstrelan();
  m.files.AddFile(kCollected + ".txt", "");
  for (int copy = 2; copy <= 99999; ++copy) {
    m.files.AddFile(kCollected + "-" + std::to_string(copy) + ".txt", "");
  }
  EXPECT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kFileError);
  EXPECT_THAT(streams.err, HasSubstr("I/O error 80: '" + kCollected + "-99999.txt'"));
  EXPECT_EQ(m.files.FilesUnder("C:\\Reports").size(), 99999u);
  EXPECT_TRUE(m.files.FilesUnder("C:\\Temp").empty());
}

TEST_F(ConsoleTest, ANameTakenWhileTheReportIsWrittenIsNeitherReplacedNorShared) {
  InstallOstrelan();
  // Another workstation's report, or a map, takes the name after this run has looked.
  const auto another = [&](const std::string& path) {
    m.files.onCreateTemp = [this, path] {
      if (!m.files.FileExists(path)) m.files.AddFile(path, "theirs");
    };
  };
  another(kCollected + ".txt");
  EXPECT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kDone);
  EXPECT_EQ(m.files.ReadAll(kCollected + ".txt"), "theirs");
  EXPECT_EQ(m.files.ReadAll(kCollected + "-2.txt"), WindowText("Ostrelan", 1));

  m.network.connections["S:"] = "\\\\fs1\\shared";
  another("C:\\Tools\\vorlix.txt");
  EXPECT_EQ(Run({"store-map"}), kDone);
  EXPECT_THAT(streams.err, HasSubstr("' exists and was kept; --force replaces it\r\n"));
  EXPECT_EQ(m.files.ReadAll("C:\\Tools\\vorlix.txt"), "theirs");
  EXPECT_EQ(Run({"store-map", "--force"}), kDone);
  EXPECT_EQ(m.files.ReadAll("C:\\Tools\\vorlix.txt"), "S:=\\\\fs1\\shared\r\n");
  m.files.onCreateTemp = nullptr;
  EXPECT_THAT(m.files.FilesUnder("C:\\Tools"), Each(Not(StartsWith("Kx"))));
  EXPECT_THAT(m.files.FilesUnder("C:\\Reports"),
              ElementsAre(kCollected.substr(11) + ".txt", kCollected.substr(11) + "-2.txt"));
}

TEST_F(ConsoleTest, WithoutTheComputerOrUserNameNothingIsCollected) {
  InstallOstrelan();
  for (std::string* name : {&session.computer, &session.user}) {
    const std::string kept = *name;
    name->clear();
    streams.err.clear();
    EXPECT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kFileError);
    EXPECT_EQ(Run({"report", "--all", "--out-dir", "C:\\Reports", "--json-dir", "C:\\Reports"}),
              kFileError);
    EXPECT_THAT(streams.err, HasSubstr(name == &session.user ? "the user name cannot be had"
                                                             : "the computer name cannot be had"));
    EXPECT_THAT(m.files.FilesUnder("C:\\Reports"), IsEmpty());
    EXPECT_THAT(m.files.FilesUnder("C:\\Temp"), IsEmpty());
    // A report named by the caller needs no name of the session.
    EXPECT_EQ(Run({"report", "Ostrelan", "--out", "C:\\r.txt"}), kDone);
    *name = kept;
  }
}

TEST_F(ConsoleTest, AllReportsTheInstalledProgramsInTheWindowsOrder) {
  EXPECT_EQ(Run({"report", "--all", "--out-dir", "C:\\Reports"}), kDone);
  EXPECT_THAT(streams.err, HasSubstr("vorlixc: no program of the family is installed here"));
  m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Gaspin", "Path", "G:\\");
  m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Brannicle", "Path", "B:\\");
  streams.err.clear();
  EXPECT_EQ(Run({"report", "--all", "--out-dir", "C:\\Reports", "--json-dir", "C:\\Reports"}),
            kDoneWithFailures);
  std::string expected;
  for (const char* name : {"Brannicle_20261208-140509.txt", "Brannicle_20261208-140509.json",
                           "Gaspin_20261208-140509.txt", "Gaspin_20261208-140509.json"}) {
    expected += "vorlixc: written: C:\\Reports\\PC042_anna_" + std::string(name) + "\r\n";
  }
  EXPECT_EQ(streams.err, expected);
  EXPECT_EQ(m.files.ReadAll("C:\\Reports\\PC042_anna_Gaspin_20261208-140509.txt"),
            WindowText("Gaspin", 1));
}

TEST_F(ConsoleTest, RepairCommandsRefuseWithoutElevationMapOrForceAndTouchNothing) {
  m.registry.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath", "S:\\Apps");
  m.network.connections["S:"] = "\\\\fs1\\shared";
  const auto untouched = [&] {
    EXPECT_EQ(m.registry.GetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath"),
              "S:\\Apps");
  };
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes"}), kFileError);  // no map yet
  EXPECT_EQ(streams.err,
            "File :'C:\\Tools\\vorlix.txt' is missing.\r\n\r\nYou must first run Vorlix as as a "
            "normal user, and click on 'Store drive map...'.\r\nThen restart Vorlix using 'Run as "
            "administrator' and click on 'Convert to UNC'.\r\n");
  untouched();

  EXPECT_EQ(Run({"store-map"}), kDone);  // beside vorlixc.exe, under the window's name
  EXPECT_EQ(m.files.ReadAll("C:\\Tools\\vorlix.txt"), "S:=\\\\fs1\\shared\r\n");
  m.network.connections.clear();
  EXPECT_EQ(Run({"store-map"}), kDone);
  EXPECT_THAT(streams.err, HasSubstr("' exists and was kept; --force replaces it\r\n"));
  EXPECT_EQ(m.files.ReadAll("C:\\Tools\\vorlix.txt"), "S:=\\\\fs1\\shared\r\n");
  EXPECT_EQ(Run({"store-map", "--map", "C:\\Locked\\map.txt"}), kFileError);
  EXPECT_TRUE(m.files.FilesUnder("C:\\Locked").empty());

  session.elevated = false;
  streams.err.clear();
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes"}), kNotElevated);
  EXPECT_THAT(streams.err, HasSubstr("needs an elevated prompt"));
  untouched();
  EXPECT_EQ(Run({"convert", "Ostrelan", "--dry-run"}), kDoneWithFailures);  // no ini file
  EXPECT_THAT(streams.out, HasSubstr("TarnwickPath=S:\\Apps\r\nHKEY_LOCAL_MACHINE\\Software\\"
                                     "Tarnwick\\Tarnwick\\TarnwickPath=\\\\fs1\\shared\\Apps\r\n"));
  EXPECT_TRUE(streams.out.ends_with("\r\nDry run: nothing was written.\r\n"));
  untouched();
}

// A map that another account owns is used only for the account --map-owner names; refused, it
// is a file error with the reason on standard error.
TEST_F(ConsoleTest, ConvertUsesAnotherUsersMapOnlyForTheNamedOwner) {
  m.registry.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath", "S:\\Apps");
  const std::string map = "C:\\Reports\\PC042_ben.txt";
  m.files.AddFile(map, "S:=\\\\fs1\\shared\r\n");
  m.files.AccessOf(map).owner = {"S-1-5-21-7-7-7-1002", "CORP\\ben"};
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes", "--map", map}), kFileError);
  EXPECT_THAT(streams.err, StartsWith("File :'" + map + "' is owned by CORP\\ben, so nothing"));
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes", "--map", map, "--map-owner", "CORP\\anna"}),
            kFileError);
  EXPECT_EQ(m.registry.GetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath"),
            "S:\\Apps");
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes", "--map", map, "--map-owner", "corp\\BEN"}),
            kDoneWithFailures);  // no ini file
  EXPECT_EQ(m.registry.GetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath"),
            "\\\\fs1\\shared\\Apps");
}

// --explain, the JSON form and the summary name the same likely causes, from the checks the
// driver named; the exit status is the report's, whatever is explained.
TEST_F(ConsoleTest, ExplainJsonAndSummaryNameTheSameCauses) {
  InstallOstrelan();
  EXPECT_EQ(Run({"report", "Ostrelan", "--explain"}), kDone);
  EXPECT_EQ(streams.out, WindowText("Ostrelan", 1) + "\r\nFindings:\r\n  none\r\n");

  // The licence folder on a letter this session does not have.
  m.profile.Set(kServerIni, "Ostrelan", "LicenseFolder", "L:\\Licence");
  const std::string text = WindowText("Ostrelan", 1);
  const std::string kMissing = "   FAILED: L:\\Licence ...is missing\r";
  std::vector<int> missing;  // the numbers of the lines the cause rests on
  int number = 0;
  for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    ++number;
    if (text.compare(at, kMissing.size(), kMissing) == 0) missing.push_back(number);
  }
  ASSERT_EQ(missing.size(), 2u);
  for (const Words& words : {Words{"report", "Ostrelan"}, Words{"report", "Ostrelan", "--explain",
                                                                "--json", "C:\\Reports\\l.json"}}) {
    streams.out.clear();
    EXPECT_EQ(Run(words), kDoneWithFailures);
  }
  const std::string lines =
      "    - lines " + std::to_string(missing[0]) + ", " + std::to_string(missing[1]) + "\r\n";
  ASSERT_THAT(streams.out,
              StartsWith(text + "\r\nFindings:\r\n\r\n"
                                "  Licence folder: drive letter not connected here\r\n"
                                "    Cause:  The licence folder is on a drive letter"));
  EXPECT_THAT(streams.out, HasSubstr("\r\n    Repair: Reconnect the drive,"));
  EXPECT_TRUE(streams.out.ends_with(lines)) << streams.out;
  const report::json::Document json = report::json::Read(m.files.ReadAll("C:\\Reports\\l.json"));
  ASSERT_EQ(json.findings.size(), 1u);
  EXPECT_EQ(json.findings[0].rule, "licence-drive-not-connected");
  EXPECT_EQ(json.findings[0].title, "Licence folder: drive letter not connected here");
  EXPECT_EQ(json.findings[0].lines, missing);
  EXPECT_TRUE(json.checkIds);
  EXPECT_EQ(json.lines[missing[0] - 1].checkId, report::Check::LicenceFolder);
  EXPECT_EQ(json.lines[missing[1] - 1].checkId, report::Check::LicenceFolderUnc);
  EXPECT_EQ(json.lines[missing[0] - 1].facts.letterHere, false);
  streams.out.clear();
  EXPECT_EQ(Run({"summary", "C:\\Reports\\l.json"}), kDoneWithFailures);
  EXPECT_THAT(streams.out,
              HasSubstr("  Licence folder: drive letter not connected here (1 workstation)\n"));
  EXPECT_THAT(streams.out, HasSubstr(": " + lines.substr(6, lines.size() - 8) + "\n"));

  EXPECT_EQ(Run({"report", "--all", "--out-dir", "C:\\Reports", "--explain"}), kBadUsage);
  EXPECT_THAT(streams.err, HasSubstr("vorlixc: --explain explains one program's report\r\n"));
}

// A line of the virtualised ini file that reads like a failed check is no failure.
TEST_F(ConsoleTest, ALineCopiedFromAFileIsNoFailure) {
  InstallOstrelan();
  for (const char* name : {"ProgramName", "SectionsFormat", "SectionsRelease"}) {
    m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan", name, "7");
  }
  m.files.AddFile("C:\\Licence\\Ostrelan.ini", "[Ostrelan]\r\nFAILED: copied\r\n");
  EXPECT_EQ(Run({"report", "Ostrelan", "--full", "--json", "C:\\Reports\\full.json"}), kDone);
  EXPECT_THAT(streams.out, HasSubstr("\r\n   FAILED: copied\r\n"));
  const report::json::Document json = report::json::Read(m.files.ReadAll("C:\\Reports\\full.json"));
  EXPECT_EQ(json.failed, 0);
  EXPECT_THAT(json.findings, IsEmpty());
}

// What `report --out-dir` and `--json-dir` collect, `summary` reads back: twins once, the
// computer and user from the names, the failed report's status.
TEST_F(ConsoleTest, SummaryReadsWhatReportCollected) {
  InstallOstrelan();
  m.files.AddFolder("C:\\Reports\\json");
  ASSERT_EQ(
      Run({"report", "Ostrelan", "--out-dir", "C:\\Reports", "--json-dir", "C:\\Reports\\json"}),
      kDone);
  EXPECT_TRUE(m.files.FileExists(kCollected + ".txt"));
  EXPECT_TRUE(m.files.FileExists("C:\\Reports\\json\\PC042_anna_Ostrelan_20261208-140509.json"));
  streams.out.clear();
  EXPECT_EQ(Run({"summary", "C:\\Reports", "--recurse"}), kDone);
  EXPECT_THAT(streams.out, HasSubstr("1 row from 1 report\n"));
  EXPECT_THAT(streams.out, HasSubstr("PC042     anna  Ostrelan  passing  Normal  "
                                     "2026-12-08 14:05:09 +01:00"));
  m.clock.now.minute = 6;
  ASSERT_EQ(Run({"report", "Ostrelan", "--full", "--out-dir", "C:\\Reports"}), kDoneWithFailures);
  streams.out.clear();
  EXPECT_EQ(Run({"summary", "C:\\Reports", "--recurse"}), kDoneWithFailures);
  EXPECT_THAT(streams.out, HasSubstr("failing since 2026-12-08 14:06:09"));
  EXPECT_EQ(Run({"report", "Ostrelan", "--json", "a.json", "--json-dir", "C:\\Reports"}),
            kBadUsage);
}

TEST_F(ConsoleTest, SummaryUsageAndExitStatuses) {
  InstallOstrelan();
  ASSERT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kDone);
  m.files.AddFile("C:\\Reports\\notes.txt", "Notes\r\n");
  m.files.AddFile("C:\\Reports\\huge.log", "");
  m.files.Find("C:\\Reports\\huge.log")->size = summary::kMaxReportBytes + 1;
  m.files.failReplace.insert(fakes::FakeFileSystem::Key("C:\\Locked.html"));
  m.files.AddFile("C:\\Locked.html", "old page");
  m.files.AddFolder("C:\\Denied");
  m.files.failSearchIn.insert(fakes::FakeFileSystem::Key("C:\\Denied\\"));
  m.files.AddFile("C:\\Unread\\b.txt", "x");
  m.files.failRead.insert(fakes::FakeFileSystem::Key("C:\\Unread\\b.txt"));
  const struct {
    Words args;
    int status;
    const char* message;
  } cases[] = {
      {{"summary", "C:\\Reports", "--html=C:\\page.html"}, kDone, ""},
      {{"summary", "C:\\Reports", "--html", "C:\\page2.html", "--silent-days", "3"}, kDone, ""},
      {{"summary"}, kBadUsage, "no report file or folder given"},
      {{"summary", "C:\\Reports", "--html"}, kBadUsage, "'--html' needs a value"},
      {{"summary", "C:\\Reports", "--html", "--recurse"}, kBadUsage, "'--html' needs a value"},
      {{"summary", "C:\\Reports", "--silent-days", "--recurse"},
       kBadUsage,
       "'--silent-days' needs a value"},
      {{"summary", "C:\\Reports", "--html", "a", "--html=b"}, kBadUsage, "is given twice"},
      {{"summary", "C:\\Reports", "--all"}, kBadUsage, "unknown option '--all'"},
      {{"summary", "C:\\Reports", "--silent-days", "0"}, kBadUsage, "not '0'"},
      {{"summary", "C:\\Reports", "--silent-days", "1"}, kDone, ""},
      {{"summary", "C:\\Reports", "--silent-days=7d"}, kBadUsage, "not '7d'"},
      // What cannot be listed or read is named, and only bad usage gives 2.
      {{"summary", "C:\\Nowhere"}, kFileError, "vorlixc: C:\\Nowhere: no such file or folder\r\n"},
      {{"summary", "C:\\Nowhere\\*.txt"},
       kFileError,
       "C:\\Nowhere\\*.txt: cannot be listed (system error 3)"},
      {{"summary", "C:\\Reports", "C:\\Denied"},
       kFileError,
       "C:\\Denied\\*.*: cannot be listed (system error 5)"},
      {{"summary", "C:\\Reports", "C:\\Unread\\*.txt"},
       kFileError,
       "C:\\Unread\\b.txt: cannot be read (system error 5)"},
      {{"summary", "C:\\Reports\\*.none"}, kDone, ""},
      {{"summary", "C:\\Reports", "--html", "C:\\Locked.html"},
       kFileError,
       "vorlixc: the page cannot be written: 'C:\\Locked.html' (system error 5)\r\n"},
      {{"summary", "C:\\Reports", "--html", "C:\\No\\Folder\\p.html"},
       kFileError,
       "cannot be written"},
      {{"summary", "C:\\Reports", "--html", "C:\\Reports"}, kFileError, "is a folder"},
      {{"summary", "C:\\Reports", "--csv=C:\\rows.csv", "--html", "C:\\p3.html"}, kDone, ""},
      {{"summary", "C:\\Reports", "--csv"}, kBadUsage, "'--csv' needs a value"},
      {{"summary", "C:\\Reports", "--csv", "C:\\Locked.html"},
       kFileError,
       "vorlixc: the table cannot be written: 'C:\\Locked.html' (system error 5)\r\n"},
      {{"summary", "C:\\Reports", "--csv", "C:\\Reports"}, kFileError, "is a folder"},
      // The page written, the table refused: the status tells.
      {{"summary", "C:\\Reports", "--html", "C:\\p4.html", "--csv", "C:\\Locked.html"},
       kFileError,
       "the table cannot be written"},
  };
  for (const auto& c : cases) {
    streams.err.clear();
    EXPECT_EQ(Run(c.args), c.status) << c.message;
    EXPECT_THAT(streams.err, HasSubstr(c.message));
    EXPECT_EQ(streams.err.find(kSummaryUsage) != std::string::npos, c.status == kBadUsage)
        << c.message;
  }
  EXPECT_THAT(m.files.ReadAll("C:\\page.html"), HasSubstr("<!DOCTYPE html>"));
  EXPECT_EQ(m.files.ReadAll("C:\\Locked.html"), "old page");
  EXPECT_FALSE(m.files.FileExists("C:\\No\\Folder\\p.html"));
  for (const std::string& path : m.files.AllFiles()) EXPECT_FALSE(path.ends_with("--recurse"));
  EXPECT_EQ(m.files.ReadAll("C:\\rows.csv").substr(0, 12),
            "\xEF\xBB\xBF"
            "Computer,");
  EXPECT_THAT(m.files.ReadAll("C:\\p4.html"), HasSubstr("<!DOCTYPE html>"));
  // Without a console there is no progress to show; with one, it ends on its own line.
  streams.err.clear();
  streams.console = true;
  EXPECT_EQ(Run({"summary", "C:\\Reports"}), kDone);
  EXPECT_EQ(streams.err, "\rread 3 of 3 files\r\n");
  // Thousands are grouped as on a Windows console.
  for (int n = 0; n < 1000; ++n) m.files.AddFile("C:\\Many\\" + std::to_string(n) + ".txt", "x");
  streams.err.clear();
  Run({"summary", "C:\\Many"});
  EXPECT_THAT(streams.err, HasSubstr("\rread 1,000 of 1,000 files\r\n"));
  streams.err.clear();
  EXPECT_EQ(Run({"summary", "C:\\Reports\\*.none"}), kDone);
  EXPECT_EQ(streams.err, "") << "no file read, no progress to end";
  // Streams that cannot tell are taken for no console.
  struct Plain final : Streams {
    std::string err;
    void Out(std::string_view) override {}
    void Err(std::string_view text) override { err.append(text); }
  } plain;
  System quiet{m.files, m.registry, m.profile, m.network, m.clock, session, plain};
  EXPECT_EQ(Main(Words{"summary", "C:\\Reports"}, quiet), kDone);
  EXPECT_EQ(plain.err, "");
  // A table written among the reports is not read as one the next time.
  for (int run = 0; run < 2; ++run) {
    streams.out.clear();
    EXPECT_EQ(Run({"summary", "C:\\Reports", "--csv", "C:\\Reports\\rows.csv"}), kDone);
    EXPECT_THAT(streams.out, Not(HasSubstr("rows.csv")));
  }
}

// The walk does not enter a junction or link, which may lead back up the tree; a text report is
// read in the code page its JSON twin names, and one it has no table for is skipped; what could
// not be read is on the page too.
TEST_F(ConsoleTest, SummaryWalkAndTheTwinsCodePage) {
  InstallOstrelan();
  const std::string clean = WindowText("Ostrelan", 1);
  m.files.AddFile("C:\\Share\\WS-1_anna_Ostrelan_20261208-090000.txt", clean);
  m.files.AddFolder("C:\\Share\\Loop", platform::kAttrDirectory | platform::kAttrReparsePoint);
  m.files.AddFile("C:\\Share\\Loop\\WS-9_dan_Ostrelan_20261201-090000.txt", clean);
  const std::string cyrillic = clean + "\xC4\xE0\r\n";
  m.files.AddFile("C:\\Share\\Twin\\WS-5_yana_Ostrelan_20261208-090000.txt", cyrillic);
  m.files.AddFile("C:\\Share\\Twin\\WS-5_yana_Ostrelan_20261208-090000.json",
                  "{\"codepage\": 1251, \"lines\": []}");
  m.files.AddFile("C:\\Share\\Twin\\WS-6_olaf_Ostrelan_20261208-090000.txt", cyrillic);
  m.files.AddFile("C:\\Share\\Twin\\WS-6_olaf_Ostrelan_20261208-090000.json",
                  "{\"codepage\": 1252}");
  // A path that cannot be read outranks a failing report.
  m.files.AddFile("C:\\Share\\WS-2_ben_Ostrelan_20261208-090000.txt", WindowText("Ostrelan", 2));
  EXPECT_EQ(Run({"summary", "C:\\Share", "--recurse", "C:\\Nowhere", "--html", "C:\\p.html"}),
            kFileError);
  EXPECT_THAT(streams.out, HasSubstr("\nWS-2      ben   Ostrelan  failing since "));
  EXPECT_THAT(streams.out, HasSubstr("\nWS-1 "));
  EXPECT_THAT(streams.out, Not(HasSubstr("WS-9")));
  EXPECT_THAT(streams.out, HasSubstr("WS-5_yana_Ostrelan_20261208-090000.txt: written in code "
                                     "page 1251, which only its JSON twin gives in full\n"));
  EXPECT_THAT(streams.out, HasSubstr("\nWS-6 "));
  EXPECT_THAT(m.files.ReadAll("C:\\p.html"),
              HasSubstr("<li>C:\\Nowhere: no such file or folder</li>"));
}

}  // namespace
}  // namespace vorlix::console
