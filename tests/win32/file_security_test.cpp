// Owners and access lists as Wine's file system gives them, and the drive map rule over them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "common/files.h"
#include "drivemap/map_trust.h"
#include "platform/win32/win32_file_system.h"
#include "support/file_owners.h"

namespace vorlix::platform::win32 {
namespace {

TEST(Win32FileSecurity, WhoMayChangeAFileIsWhatTheSystemSays) {
  Win32FileSystem files;
  const auto anonymous = files.AccountSid(testing::kAnotherAccount);
  ASSERT_TRUE(anonymous);
  struct Row {
    const char* what;
    std::function<bool(const std::string&)> setUp;
    std::optional<std::string> mapOwner;
    std::optional<std::string> refused;
  } rows[] = {
      {"a file as a program creates it", [](const std::string&) { return true; }, {}, {}},
      {"made private", [&](const std::string& p) { return files.MakePrivate(p), true; }, {}, {}},
      {"Everyone may write",
       [](const std::string& p) { return testing::LetEveryoneWrite(p); },
       {},
       "Everyone"},
      {"made private after Everyone could write",
       [&](const std::string& p) {
         return testing::LetEveryoneWrite(p) && (files.MakePrivate(p), true);
       },
       {},
       {}},
      {"another account's", testing::GiveToAnotherAccount, {}, testing::kAnotherAccount},
      {"another account's, named the map's owner", testing::GiveToAnotherAccount, anonymous, {}},
      {"another account's that Everyone may write, named the map's owner",
       [](const std::string& p) {
         return testing::LetEveryoneWrite(p) && testing::GiveToAnotherAccount(p);
       },
       anonymous, "Everyone"},
  };
  for (const Row& row : rows) {
    TempFile file(files, NewTempFileName(files));
    SaveFileSafely(files, file.path(), "S:=\\\\fs1\\shared\r\n");
    ASSERT_TRUE(row.setUp(file.path())) << row.what;
    const FileWithAccess read = files.ReadWithAccess(file.path());
    EXPECT_EQ(read.content, "S:=\\\\fs1\\shared\r\n") << row.what;
    const auto untrusted = drivemap::WhoElseMayChange(read.access, row.mapOwner);
    EXPECT_EQ(untrusted ? std::optional(untrusted->account.name) : std::nullopt, row.refused)
        << row.what;
  }
}

TEST(Win32FileSecurity, AccountsByName) {
  Win32FileSystem files;
  EXPECT_EQ(files.AccountSid("BUILTIN\\Administrators"), "S-1-5-32-544");
  EXPECT_EQ(files.AccountSid("Everyone"), "S-1-1-0");
  EXPECT_EQ(files.AccountSid("NOWHERE\\nobody-at-all"), std::nullopt);
  EXPECT_EQ(files.AccountSid(""), std::nullopt);
}

}  // namespace
}  // namespace vorlix::platform::win32
