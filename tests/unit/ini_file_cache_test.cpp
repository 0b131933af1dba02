#include "settings/ini_file_cache.h"

#include <gtest/gtest.h>

#include "fakes/fake_profile.h"
#include "platform/errors.h"

namespace vorlix::settings {
namespace {

using Lines = std::vector<std::string>;

const std::string kFile = "C:\\Ost\\Ostrelan.Ini";

class IniFileCacheTest : public ::testing::Test {
 protected:
  fakes::FakePrivateProfile profile;
  TIniFileCache cache{profile, kFile};
};

TEST_F(IniFileCacheTest, CreatingTheCacheReadsNothing) {
  EXPECT_EQ(profile.fileReads, 0);
  EXPECT_EQ(cache.RememberedSections(), 0u);
  EXPECT_FALSE(profile.Has(kFile));
}

TEST_F(IniFileCacheTest, SecondReadComesFromMemoryAndMissesLaterChangesToTheFile) {
  profile.Set(kFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "F:\\Lic");
  profile.Set(kFile, "Ostrelan", "LicenseFolder", "G:\\Changed");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "F:\\Lic");
  EXPECT_EQ(profile.fileReads, 1);
}

TEST_F(IniFileCacheTest, ADefaultReturnedOnceIsRememberedAsTheValue) {
  EXPECT_EQ(cache.ReadString("Ostrelan", "Missing", "A"), "A");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Missing", "B"), "A");
  profile.Set(kFile, "Ostrelan", "Missing", "now present");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Missing", "C"), "A");
  EXPECT_EQ(profile.fileReads, 1);
}

TEST_F(IniFileCacheTest, SectionsAreMatchedWithCaseIdentifiersWithout) {
  profile.Set(kFile, "Ostrelan", "Path", "one");
  EXPECT_EQ(cache.ReadString("Ostrelan", "Path", ""), "one");
  EXPECT_EQ(cache.ReadString("OSTRELAN", "Path", ""), "one");
  EXPECT_EQ(cache.RememberedSections(), 2u);
  EXPECT_EQ(profile.fileReads, 2);

  profile.Set(kFile, "Ostrelan", "Path", "two");
  EXPECT_EQ(cache.ReadString("Ostrelan", "PATH", ""), "one");
  EXPECT_EQ(cache.ReadString("Ostrelan", "path", ""), "one");
  EXPECT_EQ(profile.fileReads, 2);
}

TEST_F(IniFileCacheTest, WriteGoesToTheFileAndIsRemembered) {
  cache.WriteString("Ostrelan", "LicenseFolder", "F:\\New");
  EXPECT_EQ(profile.ReadString(kFile, "Ostrelan", "LicenseFolder", "none"), "F:\\New");
  const int readsBefore = profile.fileReads;
  EXPECT_EQ(cache.ReadString("Ostrelan", "licensefolder", "x"), "F:\\New");
  EXPECT_EQ(profile.fileReads, readsBefore);

  cache.WriteString("Ostrelan", "LICENSEFOLDER", "F:\\Newer");
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "F:\\Newer");
}

TEST_F(IniFileCacheTest, RefusedWriteRaisesAndIsNotRemembered) {
  profile.Set(kFile, "Ostrelan", "LicenseFolder", "F:\\Lic");
  profile.failWrite.insert("c:\\ost\\ostrelan.ini");
  try {
    cache.WriteString("Ostrelan", "LicenseFolder", "F:\\Other");
    FAIL() << "no error";
  } catch (const OsError& error) {
    EXPECT_EQ(error.code(), 5u);
  }
  EXPECT_EQ(cache.ReadString("Ostrelan", "LicenseFolder", "x"), "F:\\Lic");
}

TEST_F(IniFileCacheTest, DeleteKeyAndEraseSectionForgetEverything) {
  profile.Set(kFile, "Ostrelan", "A", "1");
  profile.Set(kFile, "Other", "B", "2");
  cache.ReadString("Ostrelan", "A", "");
  cache.ReadString("Other", "B", "");
  profile.Set(kFile, "Other", "B", "changed");

  cache.DeleteKey("Ostrelan", "A");
  EXPECT_EQ(cache.RememberedSections(), 0u);
  EXPECT_EQ(cache.ReadString("Ostrelan", "A", "gone"), "gone");
  EXPECT_EQ(cache.ReadString("Other", "B", ""), "changed");

  profile.Set(kFile, "Other", "B", "changed again");
  cache.EraseSection("Ostrelan");
  EXPECT_EQ(cache.RememberedSections(), 0u);
  EXPECT_EQ(cache.ReadString("Other", "B", ""), "changed again");
}

TEST_F(IniFileCacheTest, ListingsComeFromTheFileNotFromMemory) {
  profile.Set(kFile, "Ostrelan", "Zed", "1");
  profile.Set(kFile, "Ostrelan", "Alpha", "2");
  profile.Set(kFile, "Second", "K", "v");
  cache.ReadString("Ostrelan", "Zed", "");
  cache.ReadString("Ostrelan", "Remembered", "default");
  profile.Set(kFile, "Ostrelan", "Zed", "changed");

  Lines lines{"stale line"};
  cache.ReadSectionValues("Ostrelan", lines);
  EXPECT_EQ(lines, (Lines{"Zed=changed", "Alpha=2"}));

  Lines idents;
  cache.ReadSection("Ostrelan", idents);
  EXPECT_EQ(idents, (Lines{"Zed", "Alpha"}));
  Lines sections;
  cache.ReadSections(sections);
  EXPECT_EQ(sections, (Lines{"Ostrelan", "Second"}));

  cache.ReadSectionValues("NoSuchSection", lines);
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace vorlix::settings
