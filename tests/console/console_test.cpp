// The command line against the in-memory machine: usage, exit statuses, where reports go, the
// repair commands without dialogs, and the JSON form.
#include "console/commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/json_reader.h"
#include "console/output.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_session.h"
#include "report/report_driver.h"
#include "report/temp_report.h"

namespace vorlix::console {
namespace {

using platform::RegistryRoot;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Words = std::vector<std::string>;

constexpr const char* kMakerKey = "Software\\Tarnwick\\Tarnwick";
constexpr const char* kOstrelanKey = "Software\\Tarnwick\\Ostrelan";
constexpr const char* kServerIni = "C:\\Prog\\Ostrelan\\Ostrelan.Ini";
constexpr const char* kMapFile = "C:\\Tools\\vorlix.txt";  // beside vorlixc.exe
constexpr const char* kStamp = "PC042_anna_Ostrelan_20261208-140509";

class ConsoleTest : public ::testing::Test {
 protected:
  fakes::FakeMachine m;
  fakes::FakeSession session;
  fakes::FakeStreams streams;
  System system{m.files, m.registry, m.profile, m.network, m.clock, session, streams};

  ConsoleTest() { m.files.executable = "C:\\Tools\\vorlixc.exe"; }

  int Run(const Words& words) { return Main(words, system); }

  // Ostrelan with every folder in place on C:, so that its "Normal" report has no failure.
  void InstallOstrelan() {
    auto& reg = m.registry;
    reg.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnWickPath", "C:\\Tarnwick");
    reg.SetString(RegistryRoot::LocalMachine, kOstrelanKey, "Path", "C:\\Prog\\Ostrelan");
    reg.SetString(RegistryRoot::CurrentUser, kMakerKey, "TarnWickProjectPath", "C:\\Projects");
    m.profile.Set(kServerIni, "Ostrelan", "LicenseFolder", "C:\\Licence");
    m.files.AddFolder("C:\\Tarnwick");
    m.files.AddFile("C:\\Prog\\Ostrelan\\Ostrelan.exe", "MZ");
    m.files.AddFile(kServerIni, "[Ostrelan]\r\n");
    m.files.AddFolder("C:\\Licence");
    m.files.AddFolder("C:\\Projects");
  }

  // What the window shows for the same state: the driver's text through a temporary file.
  std::string WindowText(const std::string& program, int level) {
    report::DiagnosticReport driver(m.platform);
    return report::WriteThroughTempFile(
        m.files, [&](report::ReportFile& file) { driver.Run(file, program, level); });
  }

  std::string Registry(const char* key, const char* name) {
    return m.registry.GetString(RegistryRoot::LocalMachine, key, name).value_or("<absent>");
  }
};

TEST_F(ConsoleTest, BadUsageGivesTheReasonAndTheUsageOnStandardError) {
  struct Row {
    Words words;
    const char* reason;
  };
  const Row rows[] = {
      {{}, "no command given"},
      {{"summarise"}, "unknown command 'summarise'"},
      {{"report"}, "name one program, or --all"},
      {{"report", "Ostrelan", "Gaspin"}, "name one program, or --all"},
      {{"report", "Notepad"}, "unknown program 'Notepad'"},
      {{"report", "Ostrelan", "--out"}, "'--out' needs a value"},
      {{"report", "Ostrelan", "--full", "--full"}, "'--full' is given twice"},
      {{"report", "Ostrelan", "--ful"}, "unknown option '--ful'"},
      {{"report", "Ostrelan", "--out", "a.txt", "--out-dir", "C:\\R"}, "exclude each other"},
      {{"report", "Ostrelan", "--json-dir", "C:\\R"}, "--json-dir goes with --all"},
      {{"report", "--all"}, "--all needs --out-dir"},
      {{"report", "--all", "Ostrelan", "--out-dir", "C:\\R"}, "name none"},
      {{"report", "--all", "--out-dir", "C:\\R", "--json", "a.json"}, "--json-dir"},
      {{"store-map", "Ostrelan"}, "store-map takes no program"},
      {{"convert", "Ostrelan"}, "needs --yes or --dry-run"},
      {{"convert", "Ostrelan", "--yes", "--dry-run"}, "exclude each other"},
      {{"convert", "--yes"}, "convert needs one program"},
      {{"--version", "x"}, "--version takes nothing more"},
  };
  for (const Row& row : rows) {
    streams.err.clear();
    EXPECT_EQ(Run(row.words), kBadUsage) << row.reason;
    EXPECT_THAT(streams.err, HasSubstr(row.reason));
    EXPECT_EQ(streams.err.find("vorlixc: "), 0u) << streams.err;
    EXPECT_THAT(streams.err, HasSubstr("\r\nUsage:\r\n  vorlixc report PROGRAM"));
  }
  EXPECT_THAT(streams.out, IsEmpty());
  EXPECT_TRUE(m.files.FilesUnder("C:\\").empty());
}

TEST_F(ConsoleTest, HelpAndVersionGoToStandardOutput) {
  for (const Words& words : {Words{"--help"}, Words{"/?"}, Words{"convert", "/?"}}) {
    streams.out.clear();
    EXPECT_EQ(Run(words), kDone);
    for (const char* example :
         {"Example: vorlixc report ", "Example: vorlixc store-map ", "Example: vorlixc convert "}) {
      EXPECT_THAT(streams.out, HasSubstr(example));
    }
  }
  streams.out.clear();
  EXPECT_EQ(Run({"--version"}), kDone);
  EXPECT_EQ(streams.out, "Vorlix 1.32\r\nvorlixc.exe file version 1.32.0.0\r\n");
  EXPECT_THAT(streams.err, IsEmpty());
}

TEST_F(ConsoleTest, ReportIsTheWindowsTextAndItsStatusSaysWhetherALineFailed) {
  InstallOstrelan();
  EXPECT_EQ(Run({"report", "oSTRELAN"}), kDone);
  EXPECT_EQ(streams.out, WindowText("Ostrelan", 1));
  EXPECT_THAT(streams.out, HasSubstr("Program : Ostrelan\r\n"));
  EXPECT_THAT(streams.out, Not(HasSubstr("FAILED")));

  streams.out.clear();
  EXPECT_EQ(Run({"report", "Ostrelan", "--full"}), kDoneWithFailures);  // no Sections values
  EXPECT_EQ(streams.out, WindowText("Ostrelan", 2));
  EXPECT_THAT(streams.err, IsEmpty());
  EXPECT_TRUE(m.files.FilesUnder("C:\\Temp").empty());  // the temporary report file is gone
}

TEST_F(ConsoleTest, OutDirNamesNeverOverwriteAndOutputThatFailsLeavesNothing) {
  InstallOstrelan();
  m.files.AddFolder("C:\\Reports");
  m.files.AddFile(std::string("C:\\Reports\\") + kStamp + ".txt", "an earlier report");
  for (int run = 0; run < 2; ++run)
    EXPECT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kDone);
  EXPECT_EQ(m.files.ReadAll(std::string("C:\\Reports\\") + kStamp + ".txt"), "an earlier report");
  EXPECT_EQ(m.files.ReadAll(std::string("C:\\Reports\\") + kStamp + "-2.txt"),
            WindowText("Ostrelan", 1));
  EXPECT_TRUE(m.files.FileExists(std::string("C:\\Reports\\") + kStamp + "-3.txt"));
  EXPECT_THAT(streams.out, IsEmpty());

  m.files.failCreateIn.insert(fakes::FakeFileSystem::Key("C:\\Locked"));
  m.files.AddFolder("C:\\Locked");
  streams.err.clear();
  EXPECT_EQ(
      Run({"report", "Ostrelan", "--out", "C:\\Locked\\r.txt", "--json", "C:\\Locked\\r.json"}),
      kFileError);
  EXPECT_TRUE(m.files.FilesUnder("C:\\Locked").empty());
  EXPECT_THAT(streams.err, HasSubstr("vorlixc: cannot write 'C:\\Locked\\r.txt': "));
  EXPECT_THAT(streams.err, HasSubstr("vorlixc: cannot write 'C:\\Locked\\r.json': "));

  m.files.writeBudget = 100;  // the disk fills up half-way through the report
  EXPECT_EQ(Run({"report", "Ostrelan", "--out-dir", "C:\\Reports"}), kFileError);
  m.files.writeBudget = -1;
  EXPECT_EQ(m.files.FilesUnder("C:\\Reports").size(), 3u);

  streams.failOut = true;
  EXPECT_EQ(Run({"report", "Ostrelan"}), kFileError);
}

TEST_F(ConsoleTest, AllReportsTheInstalledProgramsInTheWindowsOrder) {
  m.files.AddFolder("C:\\Reports");
  EXPECT_EQ(Run({"report", "--all", "--out-dir", "C:\\Reports"}), kDone);
  EXPECT_THAT(streams.err, HasSubstr("no program of the family is installed here"));
  EXPECT_TRUE(m.files.FilesUnder("C:\\Reports").empty());

  m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Gaspin", "Path", "G:\\");
  m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Brannicle", "Path", "B:\\");
  streams.err.clear();
  EXPECT_EQ(
      Run({"report", "--all", "--full", "--out-dir", "C:\\Reports", "--json-dir", "C:\\Reports"}),
      kDoneWithFailures);
  const std::string stem = "C:\\Reports\\PC042_anna_";
  EXPECT_EQ(streams.err, "vorlixc: written: " + stem + "Brannicle_20261208-140509.txt\r\n" +
                             "vorlixc: written: " + stem + "Brannicle_20261208-140509.json\r\n" +
                             "vorlixc: written: " + stem + "Gaspin_20261208-140509.txt\r\n" +
                             "vorlixc: written: " + stem + "Gaspin_20261208-140509.json\r\n");
  EXPECT_EQ(m.files.ReadAll(stem + "Gaspin_20261208-140509.txt"), WindowText("Gaspin", 2));
}

TEST_F(ConsoleTest, JsonLinesJoinToTheReportAndTheAnsiTextBecomesUtf8) {
  InstallOstrelan();
  m.registry.SetString(RegistryRoot::CurrentUser, kMakerKey, "TarnWickProjectPath",
                       "C:\\Projekte \x80 M\xfcller \"Gr\xfcn\"\t");
  session.utcOffsetMinutes = -330;
  ASSERT_EQ(Run({"report", "Ostrelan", "--json", "C:\\r.json"}), kDoneWithFailures);
  const std::string report = streams.out;
  const testing::Json json = testing::JsonReader::Parse(m.files.ReadAll("C:\\r.json"));
  EXPECT_EQ(json["tool"].text, "Vorlix");
  EXPECT_EQ(json["release"].text, "1.32");
  EXPECT_EQ(json["computer"].text, "PC042");
  EXPECT_EQ(json["user"].text, "anna");
  EXPECT_EQ(json["program"].text, "Ostrelan");
  EXPECT_EQ(json["level"].text, "Normal");
  EXPECT_EQ(json["time"].text, "2026-12-08T14:05:09-05:30");

  std::string joined;
  int failed = 0;
  for (const testing::Json& line : json["lines"].items) {
    joined += line["text"].text + "\r\n";
    const testing::Json& check = line["check"];
    const std::string expected = line["text"].text.rfind("   Passed: ", 0) == 0   ? "passed"
                                 : line["text"].text.rfind("   FAILED: ", 0) == 0 ? "failed"
                                                                                  : "";
    EXPECT_EQ(check.kind == testing::Json::Null ? "" : check.text, expected) << line["text"].text;
    failed += expected == "failed";
  }
  EXPECT_EQ(joined, session.AnsiToUtf8(report));
  EXPECT_THAT(joined, HasSubstr("C:\\Projekte \xe2\x82\xac M\xc3\xbcller \"Gr\xc3\xbcn\"\t"));
  EXPECT_EQ(json["failed"].number, failed);
  EXPECT_GT(failed, 0);
}

class ConvertTest : public ConsoleTest {
 protected:
  ConvertTest() {
    m.registry.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath", "S:\\Apps");
    m.registry.SetString(RegistryRoot::LocalMachine, kOstrelanKey, "Path", "S:\\Apps\\Ostrelan");
    m.files.AddFile("\\\\fs1\\shared\\Apps\\Ostrelan\\Ostrelan.Ini", "");
    m.profile.Set("\\\\fs1\\shared\\Apps\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder",
                  "s:\\Shared");
  }
  void Untouched() {
    EXPECT_EQ(Registry(kMakerKey, "TarnwickPath"), "S:\\Apps");
    EXPECT_EQ(Registry(kOstrelanKey, "Path"), "S:\\Apps\\Ostrelan");
    EXPECT_EQ(m.profile.ReadString("\\\\fs1\\shared\\Apps\\Ostrelan\\Ostrelan.Ini", "Ostrelan",
                                   "LicenseFolder", ""),
              "s:\\Shared");
  }
};

TEST_F(ConvertTest, RefusesWithoutElevationOrMapAndTouchesNothing) {
  m.files.AddFile(kMapFile, "S:=\\\\fs1\\shared\r\n");
  session.elevated = false;
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes"}), kNotElevated);
  EXPECT_THAT(streams.err, HasSubstr("needs an elevated prompt"));
  Untouched();

  m.files.Delete(kMapFile);
  session.elevated = true;
  streams.err.clear();
  EXPECT_EQ(Run({"convert", "Ostrelan", "--yes"}), kFileError);
  EXPECT_EQ(streams.err,
            "File :'C:\\Tools\\vorlix.txt' is missing.\r\n\r\nYou must first run Vorlix as as a "
            "normal user, and click on 'Store drive map...'.\r\nThen restart Vorlix using 'Run as "
            "administrator' and click on 'Convert to UNC'.\r\n");
  EXPECT_THAT(streams.out, IsEmpty());
  Untouched();
}

TEST_F(ConvertTest, DryRunShowsTheUncFormsAndWritesNothingThenYesWritesThem) {
  m.files.AddFile("C:\\Maps\\PC042_anna.txt", "S:=\\\\fs1\\shared\r\n");
  session.elevated = false;
  EXPECT_EQ(Run({"convert", "Ostrelan", "--map", "C:\\Maps\\PC042_anna.txt", "--dry-run"}), kDone);
  Untouched();
  const std::string dry = streams.out;
  EXPECT_THAT(dry, HasSubstr("\r\nS:=\\\\fs1\\shared\r\n"));
  EXPECT_THAT(dry, HasSubstr("Tarnwick\\TarnwickPath=S:\\Apps\r\n"
                             "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnwickPath="
                             "\\\\fs1\\shared\\Apps\r\n"));
  EXPECT_THAT(dry, HasSubstr("LicenseFolder=s:\\Shared\r\n[Ostrelan]\r\n"
                             "LicenseFolder=\\\\fs1\\shared\\Shared\r\n"));
  EXPECT_TRUE(dry.ends_with("\r\nDry run: nothing was written.\r\n"));

  session.elevated = true;
  streams.out.clear();
  EXPECT_EQ(Run({"convert", "Ostrelan", "--map", "C:\\Maps\\PC042_anna.txt", "--yes", "--out",
                 "C:\\conversion.txt"}),
            kDone);
  EXPECT_EQ(Registry(kMakerKey, "TarnwickPath"), "\\\\fs1\\shared\\Apps");
  EXPECT_EQ(Registry(kOstrelanKey, "Path"), "\\\\fs1\\shared\\Apps\\Ostrelan");
  // The same report as the dry run, less its last line.
  EXPECT_EQ(m.files.ReadAll("C:\\conversion.txt") + "Dry run: nothing was written.\r\n", dry);
  EXPECT_THAT(streams.out, IsEmpty());

  m.registry.failWrite.insert("hklm\\software\\tarnwick\\tarnwick");
  m.registry.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath", "S:\\Apps");
  EXPECT_EQ(Run({"convert", "Ostrelan", "--map", "C:\\Maps\\PC042_anna.txt", "--yes"}),
            kDoneWithFailures);
  EXPECT_THAT(streams.out, HasSubstr("*** Error Writing *** "));
}

TEST_F(ConsoleTest, StoreMapKeepsAnExistingFileUnlessForced) {
  m.network.connections["S:"] = "\\\\fs1\\shared";
  EXPECT_EQ(Run({"store-map"}), kDone);
  EXPECT_EQ(m.files.ReadAll(kMapFile), "S:=\\\\fs1\\shared\r\n");
  EXPECT_EQ(streams.err, "File :'C:\\Tools\\vorlix.txt' Created.\r\n");

  m.network.connections["P:"] = "\\\\fs1\\projects";
  streams.err.clear();
  EXPECT_EQ(Run({"store-map"}), kDone);
  EXPECT_EQ(m.files.ReadAll(kMapFile), "S:=\\\\fs1\\shared\r\n");
  EXPECT_THAT(streams.err, HasSubstr("exists and was kept; --force replaces it"));

  EXPECT_EQ(Run({"store-map", "--force"}), kDone);
  EXPECT_EQ(m.files.ReadAll(kMapFile), "P:=\\\\fs1\\projects\r\nS:=\\\\fs1\\shared\r\n");

  m.files.AddFolder("C:\\Locked");
  m.files.failCreateIn.insert(fakes::FakeFileSystem::Key("C:\\Locked"));
  EXPECT_EQ(Run({"store-map", "--map", "C:\\Locked\\map.txt"}), kFileError);
  EXPECT_TRUE(m.files.FilesUnder("C:\\Locked").empty());
  EXPECT_THAT(streams.out, IsEmpty());
}

}  // namespace
}  // namespace vorlix::console
