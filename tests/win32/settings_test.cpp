#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_network.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "report/report_settings.h"
#include "report/temp_report.h"
#include "settings/ini_file_cache.h"
#include "support/scratch_registry.h"

namespace vorlix::settings {
namespace {

using report::TReportSettings;
using testing::ScratchKey;
using Lines = std::vector<std::string>;

const std::string kProgram = "VorlixSettingsTest";

// Wine's real registry and ini files, with dialogs recorded.
class RealSettingsTest : public ::testing::Test {
 protected:
  RealSettingsTest() : serverFile(files, files.TempFolder() + kProgram + ".Ini") {}

  // Writes the whole file as another program would, past the profile functions.
  void RewriteServerFile(const std::string& content) {
    auto writer = files.CreateText(serverFile.path());
    writer->Write(content);
    writer->Close();
  }
  std::string Folder() {
    std::string folder = files.TempFolder();
    folder.pop_back();
    return folder;
  }
  std::string LineFor(TReportSettings& settings, int store, int section, const std::string& ident) {
    TempFile out(files, NewTempFileName(files));
    report::ReportFile file(files.CreateText(out.path()));
    settings.ReportSetting(file, store, section, ident);
    file.Close();
    return files.ReadAll(out.path());
  }

  platform::win32::Win32FileSystem files;
  platform::win32::Win32Registry registry;
  platform::win32::Win32PrivateProfile profile;
  platform::win32::Win32Clock clock;
  fakes::FakeNetworkNames network;
  fakes::FakeDialogs dialogs;
  platform::Platform platform{files, registry, profile, network, dialogs, clock};

  ScratchKey machineBase{HKEY_LOCAL_MACHINE, "Software\\Tarnwick"};
  ScratchKey userBase{HKEY_CURRENT_USER, "Software\\Tarnwick"};
  ScratchKey machineFamily{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick"};
  ScratchKey userFamily{HKEY_CURRENT_USER, "Software\\Tarnwick\\Tarnwick"};
  ScratchKey machineProgram{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\" + kProgram};
  TempFile serverFile;
};

TEST_F(RealSettingsTest, OpeningCreatesTheFamilyKeysAndReadsThroughAllThreeStores) {
  machineProgram.SetString("Path", Folder());
  machineFamily.SetString("TarnWickPath", "C:\\Tarn");
  userFamily.SetString("TarnWickProjectPath", "P:\\Projects");
  RewriteServerFile("[" + kProgram + "]\r\nLicenseFolder=F:\\Lic\r\n");

  TReportSettings settings(platform, kProgram, 1);
  EXPECT_TRUE(machineBase.Exists());
  EXPECT_TRUE(userBase.Exists());
  EXPECT_EQ(settings.ReadString(kMachineStore, kFamilySection, "", "TarnWickPath"), "C:\\Tarn");
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, "", "path"), Folder());
  EXPECT_EQ(settings.ReadString(kServerStore, kProgramSection, "", "LicenseFolder"), "F:\\Lic");
  EXPECT_EQ(settings.ReadString(kUserStore, kFamilySection, "", "TarnWickProjectPath"),
            "P:\\Projects");
  EXPECT_EQ(
      LineFor(settings, kUserStore, kFamilySection, "TarnWickProjectPath"),
      "   Passed: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=P:\\Projects\r\n");
  EXPECT_EQ(LineFor(settings, kServerStore, kProgramSection, "LicenseFolder"),
            "   Passed: " + kProgram + ".ini [" + kProgram + "] LicenseFolder=F:\\Lic\r\n");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RealSettingsTest, MissingMachineKeyGivesMissingSettingsWithoutCreatingIt) {
  TReportSettings settings(platform, kProgram, 1);
  EXPECT_EQ(LineFor(settings, kMachineStore, kProgramSection, "Path"),
            "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\" + kProgram +
                "\\Path=     ...missing\r\n");
  EXPECT_EQ(LineFor(settings, kServerStore, kProgramSection, "LicenseFolder"),
            "   FAILED: " + kProgram + ".ini [" + kProgram + "] LicenseFolder=     ...missing\r\n");
  Lines lines{"stale"};
  settings.ReadSectionValues(kMachineStore, kProgramSection, lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_FALSE(machineProgram.Exists());
  EXPECT_TRUE(dialogs.shown.empty());
}

// Sets the key's access list: empty to refuse every opening, or none at all to allow every one.
bool SetKeyAccessList(HKEY root, const std::string& path, bool refuseAll) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR descriptor;
  ACL empty;
  ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  ::InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  ::SetSecurityDescriptorDacl(&descriptor, TRUE, refuseAll ? &empty : nullptr, FALSE);
  const bool done =
      ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return done;
}

TEST_F(RealSettingsTest, MachineKeyThatRefusesOpeningReadsAsMissing) {
  machineProgram.SetString("Path", Folder());
  machineProgram.SetString("ProgramName", "Refused");
  ASSERT_TRUE(SetKeyAccessList(HKEY_LOCAL_MACHINE, machineProgram.path(), true));
  HKEY probe = nullptr;
  const LONG opened =
      ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, machineProgram.path().c_str(), 0, KEY_READ, &probe);
  if (opened == ERROR_SUCCESS) ::RegCloseKey(probe);

  TReportSettings settings(platform, kProgram, 1);
  const std::string programLine = LineFor(settings, kMachineStore, kProgramSection, "ProgramName");
  ASSERT_TRUE(SetKeyAccessList(HKEY_LOCAL_MACHINE, machineProgram.path(), false));
  ASSERT_EQ(opened, ERROR_ACCESS_DENIED) << "this system does not refuse the key";
  EXPECT_EQ(programLine, "   FAILED: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\" + kProgram +
                             "\\ProgramName=     ...missing\r\n");
  EXPECT_EQ(LineFor(settings, kServerStore, kProgramSection, "LicenseFolder"),
            "   FAILED: " + kProgram + ".ini [" + kProgram + "] LicenseFolder=     ...missing\r\n");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RealSettingsTest, ReadOnlyMachineStoreWarnsThenRaisesTheRefusal) {
  machineProgram.SetString("Path", "old");
  TReportSettings settings(platform, kProgram, 1);
  try {
    settings.WriteString(kMachineStore, kProgramSection, "new", "Path");
    FAIL() << "no error";
  } catch (const OsError& error) {
    EXPECT_EQ(error.code(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  }
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "TKxettings.WriteString to rMachine Ident=Path Value=new");
  EXPECT_EQ(machineProgram.GetString("Path"), "old");

  TReportSettings writable(platform, kProgram, 0);
  writable.WriteString(kMachineStore, kProgramSection, "new", "Path");
  EXPECT_EQ(machineProgram.GetString("Path"), "new");
}

TEST_F(RealSettingsTest, NonTextRegistryValuesReadAsTextOrAsAbsent) {
  machineProgram.SetRaw("Dword", REG_DWORD, std::string("\x1F\x00\x00\x00", 4));
  machineProgram.SetRaw("Qword", REG_QWORD, std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8));
  machineProgram.SetRaw("Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 10));
  machineProgram.SetRaw("Multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14));
  machineProgram.SetRaw("Binary", REG_BINARY, std::string("\x01\x02", 2));
  machineProgram.SetRaw("None", REG_NONE, "");
  TReportSettings settings(platform, kProgram, 1);
  auto read = [&](const std::string& ident) {
    return settings.ReadString(kMachineStore, kProgramSection, "default", ident);
  };
  EXPECT_EQ(read("Dword"), "31");
  EXPECT_EQ(read("Qword"), "4294967296");
  EXPECT_EQ(read("Expand"), "%TEMP%\\x");
  EXPECT_EQ(read("Multi"), "first");
  EXPECT_EQ(read("Binary"), "default");
  EXPECT_EQ(read("None"), "default");
  EXPECT_EQ(settings.ReadInteger(kMachineStore, kProgramSection, 0, "Dword"), 31);
  EXPECT_EQ(LineFor(settings, kMachineStore, kProgramSection, "Dword"),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\" + kProgram + "\\Dword=31\r\n");
}

TEST_F(RealSettingsTest, SectionValuesInStoreOrder) {
  machineProgram.SetString("Alpha", "1");
  machineProgram.SetString("Beta", "");
  machineProgram.SetRaw("Gamma", REG_DWORD, std::string("\x02\x00\x00\x00", 4));
  machineProgram.SetString("Path", Folder());
  RewriteServerFile("[Other]\r\nA=0\r\n[" + kProgram + "]\r\nZed=1\r\nAlpha=two\r\nEmpty=\r\n");
  TReportSettings settings(platform, kProgram, 1);

  Lines lines;
  settings.ReadSectionValues(kMachineStore, kProgramSection, lines);
  EXPECT_EQ(lines, (Lines{"Alpha=1", "Beta=", "Gamma=2", "Path=" + Folder()}));
  settings.ReadSectionValues(kServerStore, kProgramSection, lines);
  EXPECT_EQ(lines, (Lines{"Zed=1", "Alpha=two", "Empty="}));
}

TEST_F(RealSettingsTest, ValuesAreCutTo255) {
  const std::string longValue = std::string(255, 'a') + std::string(100, 'b');
  machineProgram.SetString("Path", Folder());
  machineProgram.SetString("Long", longValue);
  RewriteServerFile("[" + kProgram + "]\r\nLong=" + longValue + "\r\n");
  TReportSettings settings(platform, kProgram, 0);
  EXPECT_EQ(settings.ReadString(kMachineStore, kProgramSection, "", "Long"), std::string(255, 'a'));
  EXPECT_EQ(settings.ReadString(kServerStore, kProgramSection, "", "Long"), std::string(255, 'a'));
  settings.WriteString(kMachineStore, kProgramSection, longValue, "Written");
  EXPECT_EQ(machineProgram.GetString("Written"), std::string(255, 'a'));
}

class RealIniFileCacheTest : public ::testing::Test {
 protected:
  void Rewrite(const std::string& content) {
    auto writer = files.CreateText(ini.path());
    writer->Write(content);
    writer->Close();
  }

  platform::win32::Win32FileSystem files;
  platform::win32::Win32PrivateProfile profile;
  TempFile ini{files, NewTempFileName(files)};
  TIniFileCache cache{profile, ini.path()};
};

TEST_F(RealIniFileCacheTest, AnotherWriterAfterTheFirstReadIsNotSeen) {
  Rewrite("[Ostrelan]\r\nLicenseFolder=F:\\Lic\r\n");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "F:\\Lic");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Absent", "A"), "A");

  Rewrite("[Ostrelan]\r\nLicenseFolder=G:\\Changed\r\nAbsent=now\r\n");
  ASSERT_EQ(profile.ReadString(ini.path(), "Ostrelan", "LicenseFolder", ""), "G:\\Changed");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "F:\\Lic");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Absent", "B"), "A");

  Lines lines;
  cache.ReadSectionValues("Ostrelan", lines);
  EXPECT_EQ(lines, (Lines{"LicenseFolder=G:\\Changed", "Absent=now"}));

  cache.DeleteKey("Ostrelan", "Absent");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "G:\\Changed");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Absent", "C"), "C");
}

TEST_F(RealIniFileCacheTest, SectionCaseMakesANewSectionIdentifierCaseDoesNot) {
  Rewrite("[Ostrelan]\r\nPath=one\r\n");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Path", ""), "one");
  Rewrite("[Ostrelan]\r\nPath=two\r\n");
  EXPECT_EQ(cache.ReadString("OSTRELAN", "Path", ""), "two");
  EXPECT_EQ(cache.ReadString("Ostrelan", "PATH", ""), "one");
  EXPECT_EQ(cache.RememberedSections(), 2u);
}

TEST_F(RealIniFileCacheTest, WritesReachTheFileAndEraseForgets) {
  cache.WriteString("Ostrelan", "LicenseFolder", "F:\\Lic");
  cache.UpdateFile();
  EXPECT_NE(files.ReadAll(ini.path()).find("LicenseFolder=F:\\Lic"), std::string::npos);

  Rewrite("[Ostrelan]\r\nLicenseFolder=G:\\Other\r\n[Gaspin]\r\nK=1\r\n");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", ""), "F:\\Lic");
  cache.EraseSection("Gaspin");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", ""), "G:\\Other");
  Lines sections;
  cache.ReadSections(sections);
  EXPECT_EQ(sections, (Lines{"Ostrelan"}));
}

}  // namespace
}  // namespace vorlix::settings
