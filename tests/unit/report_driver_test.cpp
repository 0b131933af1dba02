#include "report/report_driver.h"

#include <algorithm>
#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/command_platform.h"
#include "fakes/fake_platform.h"
#include "platform/errors.h"
#include "unit/installed_machine.h"

namespace vorlix::report {
namespace {

using platform::RegistryRoot;
using testing::After;
using testing::InstalledMachine;
using testing::kInstalledNormal;
using testing::kServerIni;
using testing::operator+;
using ::testing::_;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsSupersetOf;
using testing::Lines;
using ::testing::Pair;

Lines Without(const Lines& lines, const Lines& removed) {
  Lines kept;
  for (const auto& line : lines) {
    if (std::find(removed.begin(), removed.end(), line) == removed.end()) kept.push_back(line);
  }
  return kept;
}

TEST(DiagnosticReport, InstalledProgramNormal) {
  InstalledMachine m;
  EXPECT_THAT(m.Report(1), ElementsAreArray(kInstalledNormal));
}

TEST(DiagnosticReport, FullAddsTheVirtualisedIniTimeStampsAndFormatSettingsOnly) {
  InstalledMachine m;
  const Lines full = m.Report(2);
  const Lines virtualised = {"Checking virtualised Ini File S:\\Licence\\Ostrelan.ini",
                             "   Passed: S:\\Licence\\Ostrelan.ini ...found",
                             "Contents of S:\\Licence\\Ostrelan.ini", "   [Ostrelan]",
                             "   Users=5"};
  const Lines stamps = {"   Passed: CreationTime=1550712832:30050933",
                        "   Passed: FatDateTime=0:15393"};
  const Lines format = {
      "Sections file format settings",
      "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\ProgramName=Ostrelan 7",
      "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsFormat=3",
      "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsRelease="};
  EXPECT_THAT(After(full, "   Passed: C:\\Tarnwick ...search succesful", 2),
              ElementsAreArray(stamps));
  EXPECT_THAT(After(full, "   Passed: \\\\lic-server\\licences\\Licence ...found", 6),
              ElementsAreArray(virtualised + Lines{"Checking licence folder drive..."}));
  EXPECT_THAT(After(full, "   Passed: C:\\Projects\\az193201.txt ...is deleted", 5),
              ElementsAreArray(format + Lines{""}));
  EXPECT_THAT(Without(full, virtualised + stamps + format), ElementsAreArray(kInstalledNormal));
}

TEST(DiagnosticReport, LicenceFolderKeyMissingFromTheIniIsReportedMissingAndProbedAsAbsent) {
  for (const bool iniExists : {true, false}) {
    InstalledMachine m;
    m.machine.profile.files.clear();
    if (iniExists) m.machine.profile.Set(kServerIni, "Ostrelan", "Users", "5");
    const Lines lines = m.Report(2);
    EXPECT_THAT(After(lines, "Checking licence folder...", 4),
                ElementsAre("   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing",
                            "   FAILED: Absent ...is missing",
                            "   As UNC:", "   FAILED: C:\\Work\\Absent ...is missing"))
        << "ini file exists: " << iniExists;
    EXPECT_THAT(After(lines, "   FAILED: C:\\Work\\Absent ...is missing", 2),
                ElementsAre("Checking virtualised Ini File Absent\\Ostrelan.ini",
                            "   FAILED: Absent\\Ostrelan.ini ...is missing"));
    EXPECT_THAT(After(lines, "Checking licence folder drive...", 3),
                ElementsAre("   FAILED: '' <> 'C:'", "   As UNC:", "   Passed: 'C:' = 'C:'"));
    EXPECT_THAT(After(lines, "Contents of licence folder...", 2),
                ElementsAre("   Path=Absent\\*.*", "   Files:"));
  }
}

TEST(DiagnosticReport, IniSectionWithoutValuesIsEmpty) {
  InstalledMachine m;
  m.machine.profile.files.clear();
  m.machine.profile.Set(kServerIni, "Other", "LicenseFolder", "S:\\Licence");
  EXPECT_THAT(After(m.Report(1), "Contents of C:\\Prog\\Ostrelan\\Ostrelan.ini", 2),
              ElementsAre("   FAILED: C:\\Prog\\Ostrelan\\Ostrelan.ini ...is empty",
                          "Checking licence folder..."));
}

TEST(DiagnosticReport, VirtualisedIniThatCannotBeOpenedEndsItsListingOnly) {
  InstalledMachine m;
  m.machine.files.failRead.insert(fakes::FakeFileSystem::Key("S:\\Licence\\Ostrelan.ini"));
  EXPECT_THAT(After(m.Report(2), "Checking virtualised Ini File S:\\Licence\\Ostrelan.ini", 4),
              ElementsAre("   Passed: S:\\Licence\\Ostrelan.ini ...found",
                          "Contents of S:\\Licence\\Ostrelan.ini", "   FAILED: Reading file failed",
                          "Checking licence folder drive..."));
}

TEST(DiagnosticReport, FileAccessFaultsInTheTestedFolders) {
  InstalledMachine m;
  m.machine.files.failCreateIn.insert(fakes::FakeFileSystem::Key("C:\\Projects"));
  m.machine.files.failRead.insert(fakes::FakeFileSystem::Key("S:\\Licence\\az193201.txt"));
  const Lines lines = m.Report(1);
  EXPECT_THAT(After(lines, "Creating file in licence folder...", 8),
              ElementsAre("   Passed: File creation successful", "Reading file back...",
                          "   FAILED: Reading file failed", "Deleting file...",
                          "   Passed: File deletion successful",
                          "   Passed: S:\\Licence\\az193201.txt ...is deleted",
                          "Contents of licence folder...", "   Path=S:\\Licence\\*.*"));
  EXPECT_THAT(After(lines, "Creating file in project folder", 2),
              ElementsAre("   FAILED: File creation failed", ""));
}

TEST(DiagnosticReport, UndeletableTestFileStaysAndIsListed) {
  InstalledMachine m;
  m.machine.files.failDelete.insert(fakes::FakeFileSystem::Key("S:\\Licence\\az193201.txt"));
  const Lines lines = m.Report(1);
  EXPECT_THAT(After(lines, "Deleting file...", 2),
              ElementsAre("   FAILED: File deletion failed",
                          "   FAILED: S:\\Licence\\az193201.txt ...is not deleted"));
  EXPECT_EQ(After(lines, "   Files:", 5).back(),
            "      Time=1008795648 Size=      96 Attr=      32 Name=az193201.txt");
}

TEST(DiagnosticReport, FailedReportWriteEndsTheReportWithInOutError) {
  InstalledMachine m;
  testing::CapturedReport report(1);
  report.storage().writeBudget = 1500;
  EXPECT_THROW(DiagnosticReport(m.machine.platform).Run(report.file(), "Ostrelan", 1), InOutError);
  const Lines lines = report.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("<no CR LF>", 0), 0u);
  EXPECT_LT(lines.size(), kInstalledNormal.size());
}

TEST(DiagnosticReport, ToolOnAMappedDriveShowsTheServer) {
  InstalledMachine m;
  m.machine.files.executable = "t:\\Tools\\Vorlix.exe";
  m.machine.network.connections["T:"] = "\\\\toolbox\\apps";
  EXPECT_THAT(After(m.Report(1), "Vorlix.exe", 4),
              ElementsAre("   Path     ='t:\\Tools\\Vorlix.exe'", "   Drive    ='T:'",
                          "   UNCPath  ='\\\\toolbox\\apps\\Tools\\Vorlix.exe'",
                          "   UNCDrive ='\\\\TOOLBOX'"));
}

TEST(DiagnosticReport, LicenceFolderOnTheProgramsServerPassesAsUnc) {
  InstalledMachine m;
  m.machine.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan", "Path",
                               "P:\\Ostrelan");
  m.machine.profile.files.clear();
  m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder", "S:\\Licence");
  m.machine.network.connections["P:"] = "\\\\LIC-server\\programs";
  EXPECT_THAT(After(m.Report(1), "Checking licence folder drive...", 3),
              ElementsAre("   FAILED: 'S:' <> 'P:'",
                          "   As UNC:", "   Passed: '\\\\LIC-SERVER' = '\\\\LIC-SERVER'"));
  // With the tool on P: too, P: is looked up twice a report; through the commands' platform
  // the system is asked once a command.
  m.machine.files.executable = "p:\\Tools\\Vorlix.exe";
  m.machine.network.asked.clear();
  vorlix::CommandPlatform commands(
      {m.machine.files, m.machine.registry, m.machine.profile, m.machine.network, m.machine.clock});
  platform::Platform platform = commands.With(m.machine.dialogs);
  for (const int level : {1, 2}) {
    commands.StartCommand();
    testing::CapturedReport report(level);
    DiagnosticReport(platform).Run(report.file(), "Ostrelan", level);
  }
  std::map<std::string, int> asks;
  for (const std::string& letter : m.machine.network.asked) ++asks[letter];
  EXPECT_THAT(asks, Each(Pair(_, 2)));
  EXPECT_THAT(asks, IsSupersetOf({Pair("P:", 2), Pair("S:", 2)}));
}

}  // namespace
}  // namespace vorlix::report
