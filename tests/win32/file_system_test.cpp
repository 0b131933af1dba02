#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "report/temp_report.h"

namespace vorlix::platform::win32 {
namespace {

TEST(Win32FileSystem, TempFilesAreCreatedEmptyWithThePrefixAndDeleted) {
  Win32FileSystem files;
  const std::string name = NewTempFileName(files);
  const std::string base = name.substr(name.find_last_of('\\') + 1);
  EXPECT_EQ(base.rfind("Kx", 0), 0u) << name;
  EXPECT_TRUE(files.FileExists(name));
  EXPECT_EQ(files.ReadAll(name), "");
  EXPECT_TRUE(files.Delete(name));
  EXPECT_FALSE(files.FileExists(name));
}

TEST(Win32FileSystem, WrittenBytesComeBackUnchanged) {
  Win32FileSystem files;
  TempFile temp(files, NewTempFileName(files));
  std::string big(200000, 'x');
  big += "\r\n\xfc\xe9";
  auto writer = files.CreateText(temp.path());
  writer->Write("a\r\n");
  writer->Write(big);
  writer->Close();
  EXPECT_EQ(files.ReadAll(temp.path()), "a\r\n" + big);
}

TEST(Win32FileSystem, FolderIsNotAFile) {
  Win32FileSystem files;
  const std::string folder = files.TempFolder();
  EXPECT_TRUE(files.FolderExists(folder));
  EXPECT_FALSE(files.FileExists(folder));
  EXPECT_FALSE(files.FolderExists(folder + "no-such-folder-1234"));
}

TEST(Win32FileSystem, CreatingInAMissingFolderRaisesInOutError) {
  Win32FileSystem files;
  try {
    files.CreateText(files.TempFolder() + "no-such-folder-1234\\x.txt");
    FAIL() << "no error";
  } catch (const InOutError& error) {
    EXPECT_EQ(error.code(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
  }
}

}  // namespace
}  // namespace vorlix::platform::win32

namespace vorlix::platform::win32 {
namespace {

// A folder of its own under the temporary folder, removed with what it holds.
struct ScratchFolder {
  explicit ScratchFolder(Win32FileSystem& files)
      : path(files.TempFolder() + "VorlixSearch" + std::to_string(::GetCurrentProcessId())) {
    ::CreateDirectoryA(path.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const char* name : {"\\plain.txt", "\\hidden.txt"}) {
      ::SetFileAttributesA((path + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA((path + name).c_str());
    }
    ::RemoveDirectoryA(path.c_str());
  }
  std::string path;
};

TEST(Win32FileSystem, SearchYieldsEveryEntryAndTheCodeThatEndedIt) {
  Win32FileSystem files;
  ScratchFolder folder(files);
  files.CreateText(folder.path + "\\plain.txt")->Close();
  files.CreateText(folder.path + "\\hidden.txt")->Close();
  ASSERT_TRUE(::SetFileAttributesA((folder.path + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));

  SearchStart all = files.FindFirst(folder.path + "\\*.*");
  ASSERT_TRUE(all.search);
  std::vector<std::string> names;
  std::uint32_t hiddenAttributes = 0;
  while (auto entry = all.search->Next()) {
    names.push_back(entry->name);
    if (entry->name == "hidden.txt") hiddenAttributes = entry->attributes;
  }
  EXPECT_EQ(all.search->EndError(), static_cast<std::uint32_t>(ERROR_NO_MORE_FILES));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "hidden.txt", "plain.txt"}));
  EXPECT_NE(hiddenAttributes & kAttrHidden, 0u);

  SearchStart one = files.FindFirst(folder.path + "\\plain.txt");
  ASSERT_TRUE(one.search);
  EXPECT_EQ(one.search->Next()->name, "plain.txt");
  EXPECT_FALSE(one.search->Next());
  EXPECT_FALSE(one.search->Next());
  EXPECT_EQ(one.search->EndError(), static_cast<std::uint32_t>(ERROR_NO_MORE_FILES));
}

TEST(Win32FileSystem, SearchThatCannotStartCarriesTheSystemCode) {
  Win32FileSystem files;
  ScratchFolder folder(files);
  EXPECT_EQ(files.FindFirst(folder.path + "\\missing.txt").error,
            static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(files.FindFirst(folder.path + "\\missing\\*.*").error,
            static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(files.FindFirst(folder.path + "\\").error,
            static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST(Win32FileSystem, DosTimeOfAFileTime) {
  Win32FileSystem files;
  // 1 Jan 2010 00:00:00 UTC: FAT date (30 << 9) | (1 << 5) | 1, time 0.
  const auto dos = files.FileTimeToDos({0x5C6E0000u, 0x01CA8A75u});
  ASSERT_TRUE(dos);
  EXPECT_EQ(dos->date, 15393);
  EXPECT_EQ(dos->time, 0);
  EXPECT_FALSE(files.FileTimeToDos({0, 0}));  // 1601 is before the MS-DOS range
}

}  // namespace
}  // namespace vorlix::platform::win32
