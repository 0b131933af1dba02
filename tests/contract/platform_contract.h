#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"
#include "platform/registry.h"

// The same cases against the in-memory fakes and against the Windows adapters, so the fakes the
// logic is tested with are known to answer as the system does. A System gives files, registry,
// profile, an empty scratch folder and a registry key under HKEY_CURRENT_USER that is not there.
namespace vorlix::contract {

using platform::RegistryAccess;
using platform::RegistryRoot;

template <typename System>
class PlatformContract : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = system.folder + "\\" + name;
    auto writer = system.files.CreateText(path);
    writer->Write(content);
    writer->Close();
    return path;
  }
  std::string Ini() const { return system.folder + "\\contract.ini"; }

  System system;
};

TYPED_TEST_SUITE_P(PlatformContract);

// A scratch file's name, made as a report's is: by a plain file first.
inline std::string NewScratch(platform::FileSystem& files, const std::string& path) {
  files.CreateText(path)->Close();
  return path;
}

TYPED_TEST_P(PlatformContract, FileIsWrittenReadLineByLineAndDeleted) {
  auto& files = this->system.files;
  const std::string path = this->Write("a.txt", "one\r\ntwo\nthree");
  EXPECT_TRUE(files.FileExists(path));
  EXPECT_FALSE(files.FolderExists(path));
  EXPECT_TRUE(files.FolderExists(this->system.folder));
  EXPECT_FALSE(files.FileExists(this->system.folder));
  EXPECT_EQ(files.ReadAll(path), "one\r\ntwo\nthree");
  auto reader = files.OpenText(path);
  std::vector<std::string> lines;
  while (auto line = reader->ReadLine()) lines.push_back(*line);
  EXPECT_THAT(lines, ::testing::ElementsAre("one", "two", "three"));
  reader.reset();
  EXPECT_TRUE(files.Delete(path));
  EXPECT_FALSE(files.FileExists(path));
  EXPECT_FALSE(files.Delete(path));
}

TYPED_TEST_P(PlatformContract, AScratchFileIsGoneOnceClosedOrDropped) {
  auto& files = this->system.files;
  const std::string made = NewScratch(files, this->system.folder + "\\made.tmp");
  const std::string kept = this->system.folder + "\\kept.txt";
  for (const bool closing : {true, false}) {
    auto writer = files.CreateScratchText(made);
    writer->Write("report");
    EXPECT_TRUE(files.FileExists(made)) << closing;
    if (closing) {
      writer->Close();
      EXPECT_FALSE(files.FileExists(made));
    }
    writer.reset();
    EXPECT_FALSE(files.FileExists(made)) << closing;
    // A plain file stays when its writer goes.
    files.CreateText(kept)->Write("x");
    EXPECT_TRUE(files.FileExists(kept)) << closing;
  }
}

TYPED_TEST_P(PlatformContract, MissingFilesAndFoldersGiveTheSystemsCodes) {
  auto& files = this->system.files;
  const std::string missing = this->system.folder + "\\missing.txt";
  try {
    files.ReadAll(missing);
    FAIL() << "no error";
  } catch (const InOutError& error) {
    EXPECT_EQ(error.code(), 2u);  // ERROR_FILE_NOT_FOUND
  }
  EXPECT_EQ(files.FindFirst(missing).error, 2u);
  EXPECT_EQ(files.FindFirst(this->system.folder + "\\none\\*").error, 3u);  // ERROR_PATH_NOT_FOUND
  EXPECT_EQ(files.FindFirst(this->system.folder + "\\none\\*").search, nullptr);
}

TYPED_TEST_P(PlatformContract, SearchGivesEveryEntryOfAFolderAndOneByItsName) {
  auto& files = this->system.files;
  this->Write("b.txt", "12345");
  this->Write("a.txt", "");
  std::vector<std::string> names;
  auto start = files.FindFirst(this->system.folder + "\\*");
  ASSERT_NE(start.search, nullptr);
  while (auto entry = start.search->Next()) names.push_back(entry->name);
  EXPECT_EQ(start.search->EndError(), 18u);  // ERROR_NO_MORE_FILES
  std::sort(names.begin(), names.end());
  EXPECT_THAT(names, ::testing::ElementsAre(".", "..", "a.txt", "b.txt"));

  auto one = files.FindFirst(this->system.folder + "\\B.TXT");
  ASSERT_NE(one.search, nullptr);
  const auto entry = one.search->Next();
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "b.txt");
  EXPECT_EQ(entry->size, 5u);
  EXPECT_EQ(entry->attributes & platform::kAttrDirectory, 0u);
  EXPECT_FALSE(one.search->Next());
}

TYPED_TEST_P(PlatformContract, ReplaceMovesOverAnExistingFileAndTempFilesAreNewAndEmpty) {
  auto& files = this->system.files;
  const std::string from = this->Write("new.txt", "new");
  const std::string to = this->Write("old.txt", "old");
  files.Replace(from, to);
  EXPECT_FALSE(files.FileExists(from));
  EXPECT_EQ(files.ReadAll(to), "new");

  const std::string first = files.CreateTempFile(this->system.folder, "Kx");
  const std::string second = files.CreateTempFile(this->system.folder, "Kx");
  EXPECT_NE(first, second);
  for (const std::string& temp : {first, second}) {
    EXPECT_EQ(temp.rfind(this->system.folder + "\\Kx", 0), 0u) << temp;
    EXPECT_TRUE(files.FileExists(temp)) << temp;
    EXPECT_EQ(files.ReadAll(temp), "") << temp;
  }
  EXPECT_EQ(files.FullPath(to), to);

  // A new name is claimed only when no file or folder has it; the source stays when it is not.
  const std::string other = this->Write("other.txt", "other");
  EXPECT_FALSE(files.MoveToNewName(other, to));
  EXPECT_FALSE(files.MoveToNewName(other, this->system.folder));
  EXPECT_EQ(files.ReadAll(to), "new");
  EXPECT_EQ(files.ReadAll(other), "other");
  const std::string fresh = this->system.folder + "\\fresh.txt";
  EXPECT_TRUE(files.MoveToNewName(other, fresh));
  EXPECT_FALSE(files.FileExists(other));
  EXPECT_EQ(files.ReadAll(fresh), "other");
  EXPECT_THROW(files.MoveToNewName(other, this->system.folder + "\\again.txt"), InOutError);
}

TYPED_TEST_P(PlatformContract, RegistryKeysOpenOnlyWhenThereOrCreated) {
  auto& registry = this->system.registry;
  const auto missing =
      registry.OpenKey(RegistryRoot::CurrentUser, this->system.key, RegistryAccess::Read, false);
  EXPECT_EQ(missing.key, nullptr);
  EXPECT_EQ(missing.error, 2u);  // ERROR_FILE_NOT_FOUND

  const auto created =
      registry.OpenKey(RegistryRoot::CurrentUser, this->system.key, RegistryAccess::All, true);
  ASSERT_NE(created.key, nullptr);
  EXPECT_EQ(created.error, 0u);
  created.key->WriteString("Path", "C:\\Ost");
  created.key->WriteString("Beta", "2");
  created.key->WriteString("PATH", "C:\\New");

  const auto read =
      registry.OpenKey(RegistryRoot::CurrentUser, this->system.key, RegistryAccess::Read, false);
  ASSERT_NE(read.key, nullptr);
  EXPECT_EQ(read.key->Path(), this->system.key);
  const auto value = read.key->ReadValue("path");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, platform::kRegString);
  EXPECT_EQ(value->data, std::string("C:\\New") + '\0');
  EXPECT_FALSE(read.key->ReadValue("Absent"));
  // The order of the names is the registry's own (Wine sorts them): tested under Wine alone.
  EXPECT_THAT(read.key->ValueNames(), ::testing::UnorderedElementsAre("Path", "Beta"));
  EXPECT_THROW(read.key->WriteString("Path", "x"), OsError);
}

TYPED_TEST_P(PlatformContract, IniFilesMatchSectionsAndKeysWithoutCase) {
  auto& profile = this->system.profile;
  const std::string ini = this->Ini();
  EXPECT_EQ(profile.ReadString(ini, "Ostrelan", "LicenseFolder", "none"), "none");
  profile.WriteString(ini, "Ostrelan", "LicenseFolder", "S:\\Lic");
  profile.WriteString(ini, "Ostrelan", "Users", "5");
  profile.WriteString(ini, "Other", "Key", "v");
  profile.Flush(ini);
  EXPECT_EQ(profile.ReadString(ini, "OSTRELAN", "licensefolder", "none"), "S:\\Lic");
  EXPECT_THAT(profile.ReadSection(ini, "Ostrelan"),
              ::testing::ElementsAre("LicenseFolder", "Users"));
  EXPECT_THAT(profile.ReadSections(ini), ::testing::ElementsAre("Ostrelan", "Other"));

  profile.DeleteKey(ini, "Ostrelan", "Users");
  EXPECT_THAT(profile.ReadSection(ini, "Ostrelan"), ::testing::ElementsAre("LicenseFolder"));
  profile.EraseSection(ini, "Other");
  EXPECT_THAT(profile.ReadSections(ini), ::testing::ElementsAre("Ostrelan"));
  EXPECT_EQ(profile.ReadString(ini, "Other", "Key", "gone"), "gone");
}

// A private file keeps its list across the move into place: owned by the account that reads
// it, which alone of the named accounts besides the Administrators and SYSTEM may write it.
TYPED_TEST_P(PlatformContract, APrivateFileIsOwnedAndWrittenByItsReaderAlone) {
  auto& files = this->system.files;
  const std::string temp = this->Write("private.tmp", "S:=\\\\fs1\\shared\r\n");
  files.MakePrivate(temp);
  const std::string path = this->system.folder + "\\private.txt";
  files.Replace(temp, path);
  const platform::FileWithAccess read = files.ReadWithAccess(path);
  EXPECT_EQ(read.content, "S:=\\\\fs1\\shared\r\n");
  EXPECT_EQ(read.access.owner.sid, read.access.reader.sid);
  for (const platform::AccessEntry& entry : read.access.entries) {
    const bool writes =
        (entry.rights & (platform::kRightWriteData | platform::kRightWriteDac)) != 0;
    const bool trusted = entry.trustee.sid == read.access.reader.sid ||
                         entry.trustee.sid == "S-1-5-32-544" || entry.trustee.sid == "S-1-5-18";
    EXPECT_TRUE(!writes || trusted) << entry.trustee.name;
  }
  EXPECT_THROW(files.ReadWithAccess(this->system.folder + "\\missing.txt"), InOutError);
}

REGISTER_TYPED_TEST_SUITE_P(PlatformContract, FileIsWrittenReadLineByLineAndDeleted,
                            AScratchFileIsGoneOnceClosedOrDropped,
                            MissingFilesAndFoldersGiveTheSystemsCodes,
                            SearchGivesEveryEntryOfAFolderAndOneByItsName,
                            ReplaceMovesOverAnExistingFileAndTempFilesAreNewAndEmpty,
                            RegistryKeysOpenOnlyWhenThereOrCreated,
                            IniFilesMatchSectionsAndKeysWithoutCase,
                            APrivateFileIsOwnedAndWrittenByItsReaderAlone);

}  // namespace vorlix::contract
