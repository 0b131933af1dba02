#include "settings/kx_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/errors.h"
#include "report/report_settings.h"

namespace vorlix::settings {
namespace {

using platform::RegistryRoot;
using report::TReportSettings;
using Lines = std::vector<std::string>;

const std::string kProgramKey = "Software\\Tarnwick\\Ostrelan";
const std::string kFamilyKey = "Software\\Tarnwick\\Tarnwick";
const std::string kServerFile = "C:\\Ost\\Ostrelan.Ini";

class KxSettingsTest : public ::testing::Test {
 protected:
  KxSettingsTest() {
    machine.registry.SetString(RegistryRoot::LocalMachine, kProgramKey, "Path", "C:\\Ost");
  }
  TReportSettings Open(int mode) { return TReportSettings(machine.platform, "Ostrelan", mode); }
  std::vector<fakes::FakeDialogs::Shown>& Shown() { return machine.dialogs.shown; }

  fakes::FakeMachine machine;
};

TEST_F(KxSettingsTest, ReadIntegerTakesHexWithPrefixSignedDecimalOrTheDefault) {
  const std::pair<const char*, int> cases[] = {
      {"0x1F", 31}, {"0X1f", 31}, {"0xFFFFFFFF", -1},  {"0x7fffffff", 2147483647},
      {"42", 42},   {"-42", -42}, {"+7", 7},           {"-2147483648", -2147483647 - 1},
      {"0x", 99},   {"0X", 99},   {"12ab", 99},        {"", 99},
      {"0x1G", 99}, {"0x-1", 99}, {"0x100000000", 99}, {"2147483648", 99},
      {"+-3", 99},  {"+", 99},    {"1 ", 99},          {"abc", 99},
  };
  for (const auto& [text, expected] : cases) {
    machine.registry.SetString(RegistryRoot::LocalMachine, kProgramKey, "Number", text);
    auto settings = Open(1);
    EXPECT_EQ(settings.ReadInteger(kMachineStore, kProgramSection, 99, "Number"), expected)
        << '"' << text << '"';
  }
  auto settings = Open(1);
  EXPECT_EQ(settings.ReadInteger(kMachineStore, kProgramSection, -5, "Absent"), -5);
}

TEST_F(KxSettingsTest, WriteIntegerWritesSignedDecimalText) {
  auto settings = Open(0);
  settings.WriteInteger(kMachineStore, kProgramSection, -31, "Number");
  EXPECT_EQ(machine.registry.GetString(RegistryRoot::LocalMachine, kProgramKey, "Number"), "-31");
  EXPECT_EQ(settings.ReadInteger(kMachineStore, kProgramSection, 0, "Number"), -31);
}

TEST_F(KxSettingsTest, ReadOnlyModeWarnsBeforeServerAndMachineWritesThenWrites) {
  auto settings = Open(1);
  settings.WriteString(kServerStore, kProgramSection, "F:\\Lic", "LicenseFolder");
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].kind, "warn");
  EXPECT_EQ(Shown()[0].text, "TKxettings.WriteString to rServer Ident=LicenseFolder Value=F:\\Lic");
  EXPECT_EQ(machine.profile.ReadString(kServerFile, "Ostrelan", "LicenseFolder", ""), "F:\\Lic");

  // The machine store was opened with read rights, so the write is refused after the warning.
  EXPECT_THROW(settings.WriteString(kMachineStore, kFamilySection, "C:\\T", "TarnWickPath"),
               OsError);
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[1].kind, "warn");
  EXPECT_EQ(Shown()[1].text, "TKxettings.WriteString to rMachine Ident=TarnWickPath Value=C:\\T");

  settings.WriteString(kUserStore, kFamilySection, "P:\\Proj", "TarnWickProjectPath");
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_EQ(
      machine.registry.GetString(RegistryRoot::CurrentUser, kFamilyKey, "TarnWickProjectPath"),
      "P:\\Proj");
}

TEST_F(KxSettingsTest, ReadWriteModeWritesWithoutWarnings) {
  auto settings = Open(0);
  settings.WriteString(kMachineStore, kFamilySection, "C:\\T", "TarnWickPath");
  settings.WriteString(kServerStore, kProgramSection, "F:\\Lic", "LicenseFolder");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(machine.registry.GetString(RegistryRoot::LocalMachine, kFamilyKey, "TarnWickPath"),
            "C:\\T");
  EXPECT_EQ(machine.profile.ReadString(kServerFile, "Ostrelan", "LicenseFolder", ""), "F:\\Lic");
}

TEST_F(KxSettingsTest, WriteToAKeyThatCannotBeOpenedRaisesInsteadOfVanishing) {
  machine.registry.failOpen.insert("hkcu\\software\\tarnwick\\tarnwick");
  auto settings = Open(0);
  EXPECT_THROW(settings.WriteString(kUserStore, kFamilySection, "P:\\", "TarnWickProjectPath"),
               OsError);
  EXPECT_EQ(
      machine.registry.GetString(RegistryRoot::CurrentUser, kFamilyKey, "TarnWickProjectPath"),
      std::nullopt);
}

TEST_F(KxSettingsTest, WarningTextIsCutTo255) {
  auto settings = Open(1);
  const std::string value(300, 'v');
  settings.WriteString(kServerStore, kProgramSection, value, "Key");
  ASSERT_EQ(Shown().size(), 1u);
  const std::string expected = "TKxettings.WriteString to rServer Ident=Key Value=" + value;
  EXPECT_EQ(Shown()[0].text, expected.substr(0, 255));
}

TEST_F(KxSettingsTest, ModeChoosesTheMachineRightsAndTheUserStoreAlwaysHasAll) {
  Open(0);
  Open(1);
  EXPECT_EQ(machine.registry.opened,
            (Lines{"hklm\\software\\tarnwick (all)", "hkcu\\software\\tarnwick (all)",
                   "hklm\\software\\tarnwick\\ostrelan (all)", "hklm\\software\\tarnwick (read)",
                   "hkcu\\software\\tarnwick (all)", "hklm\\software\\tarnwick\\ostrelan (read)"}));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(KxSettingsTest, AnotherModeShowsBothErrorsAndActsReadOnly) {
  auto settings = Open(2);
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].kind, "error");
  EXPECT_EQ(Shown()[0].text, "KxSettings error=1");
  EXPECT_EQ(Shown()[1].kind, "error");
  EXPECT_EQ(Shown()[1].text, "KxSettings error=2");
  EXPECT_EQ(settings.Mode(), kModeReadOnly);
  EXPECT_EQ(machine.registry.opened.front(), "hklm\\software\\tarnwick (read)");
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, "", "Path"), "C:\\Ost");
}

TEST_F(KxSettingsTest, ValuesAreHeldTo255Characters) {
  const std::string longValue = std::string(255, 'a') + "tail";
  machine.registry.SetString(RegistryRoot::LocalMachine, kProgramKey, "Long", longValue);
  machine.profile.Set(kServerFile, "Ostrelan", "Long", longValue);
  auto settings = Open(0);
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, "", "Long"), std::string(255, 'a'));
  EXPECT_EQ(settings.ReadString(kServerStore, kProgramSection, "", "Long"), std::string(255, 'a'));
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, longValue, "Absent"),
            std::string(255, 'a'));

  settings.WriteString(kUserStore, kFamilySection, longValue, "Long");
  EXPECT_EQ(machine.registry.GetString(RegistryRoot::CurrentUser, kFamilyKey, "Long"),
            std::string(255, 'a'));
}

TEST_F(KxSettingsTest, NonTextRegistryValuesNeverStopAReader) {
  machine.registry.SetRaw(RegistryRoot::LocalMachine, kProgramKey, "SectionsRelease",
                          {platform::kRegDword, std::string("\x07\x01\x00\x00", 4)});
  machine.registry.SetRaw(RegistryRoot::LocalMachine, kProgramKey, "Blob",
                          {platform::kRegBinary, "\x01\x02"});
  auto settings = Open(1);
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, "d", "SectionsRelease"), "263");
  EXPECT_EQ(settings.ReadInteger(kMachineStore, kProgramSection, 0, "SectionsRelease"), 263);
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, "d", "Blob"), "d");

  Lines lines;
  settings.ReadSectionValues(kMachineStore, kProgramSection, lines);
  EXPECT_EQ(lines, (Lines{"Path=C:\\Ost", "SectionsRelease=263", "Blob="}));
}

TEST_F(KxSettingsTest, ReadSectionValuesListsTheNamedSectionOfEachStore) {
  machine.registry.SetString(RegistryRoot::CurrentUser, kFamilyKey, "TarnWickProjectPath", "P:\\");
  machine.registry.SetString(RegistryRoot::CurrentUser, kFamilyKey, "Empty", "");
  machine.profile.Set(kServerFile, "Tarnwick", "Other", "x");
  machine.profile.Set(kServerFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  machine.profile.Set(kServerFile, "Ostrelan", "Users", "4");
  auto settings = Open(1);

  Lines lines{"stale"};
  settings.ReadSectionValues(kUserStore, kFamilySection, lines);
  EXPECT_EQ(lines, (Lines{"TarnWickProjectPath=P:\\", "Empty="}));
  settings.ReadSectionValues(kServerStore, kProgramSection, lines);
  EXPECT_EQ(lines, (Lines{"LicenseFolder=F:\\Lic", "Users=4"}));
  settings.ReadSectionValues(kMachineStore, kFamilySection, lines);
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace vorlix::settings
