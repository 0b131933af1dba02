#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "report/temp_report.h"

namespace vorlix::platform::win32 {
namespace {

TEST(Win32FileSystem, TempFilesAreCreatedEmptyWithThePrefixAndDeleted) {
  Win32FileSystem files;
  const std::string name = report::NewTempFileName(files);
  const std::string base = name.substr(name.find_last_of('\\') + 1);
  EXPECT_EQ(base.rfind("Kx", 0), 0u) << name;
  EXPECT_TRUE(files.FileExists(name));
  EXPECT_EQ(files.ReadAll(name), "");
  EXPECT_TRUE(files.Delete(name));
  EXPECT_FALSE(files.FileExists(name));
}

TEST(Win32FileSystem, WrittenBytesComeBackUnchanged) {
  Win32FileSystem files;
  report::TempFile temp(files, report::NewTempFileName(files));
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
