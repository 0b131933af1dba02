#include "report/report_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "support/report_text.h"

namespace vorlix::settings {
namespace {

using platform::RegistryRoot;
using report::TReportSettings;

const std::string kProgramKey = "Software\\Tarnwick\\Ostrelan";
const std::string kFamilyKey = "Software\\Tarnwick\\Tarnwick";
const std::string kServerFile = "C:\\Ost\\Ostrelan.Ini";
const std::string kReportPath = "C:\\Work\\report.txt";

using testing::LevelGuard;

class ReportSettingsTest : public ::testing::Test {
 protected:
  void SetMachine(const std::string& name, const std::string& value) {
    machine.registry.SetString(RegistryRoot::LocalMachine, kProgramKey, name, value);
  }

  // The setting line for one setting, from a fresh settings object, as the report file holds it.
  std::string LineFor(int store, int section, const std::string& ident) {
    TReportSettings settings(machine.platform, "Ostrelan", 1);
    report::ReportFile file(machine.files.CreateText(kReportPath));
    lastValue = settings.ReportSetting(file, store, section, ident);
    file.Close();
    return machine.files.ReadAll(kReportPath);
  }

  LevelGuard guard;
  fakes::FakeMachine machine;
  std::string lastValue;
};

TEST_F(ReportSettingsTest, EverySettingOfTheTableWhenPresent) {
  machine.registry.SetString(RegistryRoot::LocalMachine, kFamilyKey, "TarnWickPath", "C:\\Tarn");
  SetMachine("Path", "C:\\Ost");
  SetMachine("ProgramName", "Ostrelan 7");
  SetMachine("SectionsFormat", "2");
  SetMachine("SectionsRelease", "2024");
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  machine.registry.SetString(RegistryRoot::CurrentUser, kFamilyKey, "TarnWickProjectPath",
                             "P:\\Projects");

  EXPECT_EQ(
      LineFor(1, 0, "TarnWickPath"),
      "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnWickPath=C:\\Tarn\r\n");
  EXPECT_EQ(LineFor(1, 1, "Path"),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=C:\\Ost\r\n");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=F:\\Lic\r\n");
  EXPECT_EQ(
      LineFor(2, 0, "TarnWickProjectPath"),
      "   Passed: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=P:\\Projects\r\n");
  EXPECT_EQ(
      LineFor(1, 1, "ProgramName"),
      "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\ProgramName=Ostrelan 7\r\n");
  EXPECT_EQ(LineFor(1, 1, "SectionsFormat"),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsFormat=2\r\n");
  EXPECT_EQ(
      LineFor(1, 1, "SectionsRelease"),
      "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsRelease=2024\r\n");
}

TEST_F(ReportSettingsTest, EverySettingOfTheTableWhenMissing) {
  EXPECT_EQ(LineFor(1, 0, "TarnWickPath"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnWickPath=     "
            "...missing\r\n");
  EXPECT_EQ(
      LineFor(1, 1, "Path"),
      "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=     ...missing\r\n");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing\r\n");
  EXPECT_EQ(LineFor(2, 0, "TarnWickProjectPath"),
            "   FAILED: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=     "
            "...missing\r\n");
  EXPECT_EQ(LineFor(1, 1, "ProgramName"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\ProgramName=     "
            "...missing\r\n");
  EXPECT_EQ(LineFor(1, 1, "SectionsFormat"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsFormat=     "
            "...missing\r\n");
  EXPECT_EQ(LineFor(1, 1, "SectionsRelease"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsRelease=     "
            "...missing\r\n");
  EXPECT_TRUE(machine.dialogs.shown.empty());
}

TEST_F(ReportSettingsTest, EmptySettingsArePresentAndPass) {
  machine.registry.SetString(RegistryRoot::LocalMachine, kFamilyKey, "TarnWickPath", "");
  SetMachine("Path", "C:\\Ost");
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "");
  machine.registry.SetString(RegistryRoot::CurrentUser, kFamilyKey, "TarnWickProjectPath", "");

  EXPECT_EQ(LineFor(1, 0, "TarnWickPath"),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnWickPath=\r\n");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=\r\n");
  EXPECT_EQ(LineFor(2, 0, "TarnWickProjectPath"),
            "   Passed: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=\r\n");
}

TEST_F(ReportSettingsTest, SettingsHoldingTheSentinelOrTheMissingTextFail) {
  SetMachine("Path", "C:\\Ost");
  SetMachine("ProgramName", "aksldfkrkaa;rkk");
  SetMachine("SectionsFormat", "     ...missing");
  SetMachine("SectionsRelease", "AKSLDFKRKAA;RKK");
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "aksldfkrkaa;rkk");

  EXPECT_EQ(LineFor(1, 1, "ProgramName"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\ProgramName=     "
            "...missing\r\n");
  EXPECT_EQ(LineFor(1, 1, "SectionsFormat"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsFormat=     "
            "...missing\r\n");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing\r\n");
  // Case counts: only the exact sentinel stands for a missing value.
  EXPECT_EQ(LineFor(1, 1, "SectionsRelease"),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsRelease="
            "AKSLDFKRKAA;RKK\r\n");
}

TEST_F(ReportSettingsTest, ReportSettingReturnsTheValueAsReadForTheDriver) {
  SetMachine("Path", "C:\\Ost");
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  LineFor(0, 1, "LicenseFolder");
  EXPECT_EQ(lastValue, "F:\\Lic");
  EXPECT_FALSE(TReportSettings::IsMissing(lastValue));
  LineFor(1, 1, "SectionsFormat");
  EXPECT_TRUE(TReportSettings::IsMissing(lastValue));
  SetMachine("ProgramName", "     ...missing");
  LineFor(1, 1, "ProgramName");
  EXPECT_EQ(lastValue, "     ...missing");
}

TEST_F(ReportSettingsTest, MissingPathMakesEveryServerSettingMissing) {
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing\r\n");
  TReportSettings settings(machine.platform, "Ostrelan", 1);
  std::vector<std::string> lines{"stale"};
  settings.ReadSectionValues(kServerStore, kProgramSection, lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_TRUE(machine.dialogs.shown.empty());
}

TEST_F(ReportSettingsTest, MissingPathNamesTheServerFileUnderAbsent) {
  machine.profile.Set("Absent\\Ostrelan.Ini", "Ostrelan", "LicenseFolder", "found");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=found\r\n");
}

TEST_F(ReportSettingsTest, UnopenableMachineKeyGivesMissingSettingsAndNoMessage) {
  SetMachine("Path", "C:\\Ost");
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  machine.registry.failOpen.insert("hklm\\software\\tarnwick");
  machine.registry.failOpen.insert("hklm\\software\\tarnwick\\ostrelan");
  EXPECT_EQ(
      LineFor(1, 1, "Path"),
      "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=     ...missing\r\n");
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing\r\n");
  EXPECT_TRUE(machine.dialogs.shown.empty());
}

TEST_F(ReportSettingsTest, NonTextValueIsReportedAsItsNumber) {
  SetMachine("Path", "C:\\Ost");
  machine.registry.SetRaw(RegistryRoot::LocalMachine, kProgramKey, "SectionsFormat",
                          {platform::kRegDword, std::string("\x02\x00\x00\x00", 4)});
  machine.registry.SetRaw(RegistryRoot::LocalMachine, kProgramKey, "SectionsRelease",
                          {platform::kRegBinary, std::string("\x02\x00", 2)});
  EXPECT_EQ(LineFor(1, 1, "SectionsFormat"),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsFormat=2\r\n");
  EXPECT_EQ(LineFor(1, 1, "SectionsRelease"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\SectionsRelease=     "
            "...missing\r\n");
}

TEST_F(ReportSettingsTest, LocationLabelsAndTheirCut) {
  TReportSettings settings(machine.platform, "Gaspin", 1);
  EXPECT_EQ(settings.SettingLocation(0, 1, "X"), "Gaspin.ini [Gaspin] X");
  EXPECT_EQ(settings.SettingLocation(0, 0, "X"), "Gaspin.ini [Gaspin] X");
  EXPECT_EQ(settings.SettingLocation(1, 0, "X"),
            "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\X");
  EXPECT_EQ(settings.SettingLocation(1, 1, "X"),
            "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Gaspin\\X");
  EXPECT_EQ(settings.SettingLocation(2, 1, "X"), "HKEY_CURRENT_USER\\Software\\Tarnwick\\X");
  const std::string ident(300, 'i');
  EXPECT_EQ(settings.SettingLocation(2, 0, ident),
            ("HKEY_CURRENT_USER\\Software\\Tarnwick\\" + ident).substr(0, 255));
}

TEST_F(ReportSettingsTest, LongMessageIsCutTo255BeforeThePrefix) {
  const std::string value(250, 'v');
  SetMachine("Path", value);
  const std::string message = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=" + value;
  EXPECT_EQ(LineFor(1, 1, "Path"), "   Passed: " + message.substr(0, 255) + "\r\n");
}

TEST_F(ReportSettingsTest, FullReportLevelStillWritesSettingLines) {
  report::ReportLevel = 2;
  EXPECT_EQ(LineFor(0, 1, "LicenseFolder"),
            "   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing\r\n");
}

}  // namespace
}  // namespace vorlix::settings
