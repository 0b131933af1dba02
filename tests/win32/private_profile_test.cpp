#include "platform/win32/win32_private_profile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/win32/win32_file_system.h"
#include "report/temp_report.h"

namespace vorlix::platform::win32 {
namespace {

using Names = std::vector<std::string>;

class Win32PrivateProfileTest : public ::testing::Test {
 protected:
  Win32FileSystem files;
  TempFile ini{files, NewTempFileName(files)};
  Win32PrivateProfile profile;
};

TEST_F(Win32PrivateProfileTest, WrittenValuesReadBackAndAbsentOnesGiveTheFallback) {
  profile.WriteString(ini.path(), "Ostrelan", "LicenseFolder", "F:\\Lic");
  EXPECT_EQ(profile.ReadString(ini.path(), "Ostrelan", "LicenseFolder", "x"), "F:\\Lic");
  EXPECT_EQ(profile.ReadString(ini.path(), "OSTRELAN", "licensefolder", "x"), "F:\\Lic");
  EXPECT_EQ(profile.ReadString(ini.path(), "Ostrelan", "Other", "fallback"), "fallback");
  EXPECT_EQ(profile.ReadString(ini.path(), "Nowhere", "LicenseFolder", ""), "");
}

TEST_F(Win32PrivateProfileTest, LongValuesAndLongListsComeBackWhole) {
  const std::string longValue(5000, 'v');
  profile.WriteString(ini.path(), "S", "Long", longValue);
  EXPECT_EQ(profile.ReadString(ini.path(), "S", "Long", ""), longValue);

  Names keys{"Long"};
  Names sections{"S"};
  for (int i = 0; i < 200; ++i) {
    const std::string key = "Key" + std::to_string(1000 + i) + std::string(20, 'k');
    profile.WriteString(ini.path(), "S", key, "1");
    keys.push_back(key);
    const std::string section = "Section" + std::to_string(1000 + i) + std::string(20, 's');
    profile.WriteString(ini.path(), section, "K", "1");
    sections.push_back(section);
  }
  EXPECT_EQ(profile.ReadSection(ini.path(), "S"), keys);
  EXPECT_EQ(profile.ReadSections(ini.path()), sections);
}

TEST_F(Win32PrivateProfileTest, ListingsInFileOrderAndDeletions) {
  profile.WriteString(ini.path(), "Ostrelan", "Zed", "1");
  profile.WriteString(ini.path(), "Ostrelan", "Alpha", "2");
  profile.WriteString(ini.path(), "Gaspin", "Path", "3");
  EXPECT_EQ(profile.ReadSection(ini.path(), "Ostrelan"), (Names{"Zed", "Alpha"}));
  EXPECT_EQ(profile.ReadSections(ini.path()), (Names{"Ostrelan", "Gaspin"}));
  EXPECT_TRUE(profile.ReadSection(ini.path(), "Nowhere").empty());

  profile.DeleteKey(ini.path(), "Ostrelan", "Zed");
  EXPECT_EQ(profile.ReadSection(ini.path(), "Ostrelan"), (Names{"Alpha"}));
  profile.EraseSection(ini.path(), "Ostrelan");
  EXPECT_EQ(profile.ReadSections(ini.path()), (Names{"Gaspin"}));
}

TEST_F(Win32PrivateProfileTest, FlushPutsTheValuesInTheFile) {
  profile.WriteString(ini.path(), "Ostrelan", "LicenseFolder", "F:\\Lic");
  profile.Flush(ini.path());
  const std::string content = files.ReadAll(ini.path());
  EXPECT_NE(content.find("[Ostrelan]"), std::string::npos) << content;
  EXPECT_NE(content.find("LicenseFolder=F:\\Lic"), std::string::npos) << content;
}

TEST_F(Win32PrivateProfileTest, RefusedWritesRaiseWithTheSystemCode) {
  const std::string unreachable = files.TempFolder() + "no-such-folder-5821\\x.ini";
  try {
    profile.WriteString(unreachable, "S", "K", "V");
    FAIL() << "no error";
  } catch (const OsError& error) {
    EXPECT_EQ(error.code(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
  }
  EXPECT_THROW(profile.EraseSection(unreachable, "S"), OsError);
  EXPECT_THROW(profile.DeleteKey(unreachable, "S", "K"), OsError);
  EXPECT_FALSE(files.FileExists(unreachable));
}

}  // namespace
}  // namespace vorlix::platform::win32
