#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "support/scratch_registry.h"

namespace vorlix::platform::win32 {
namespace {

using testing::ScratchKey;

class Win32RegistryTest : public ::testing::Test {
 protected:
  ScratchKey base{HKEY_CURRENT_USER, "Software\\VorlixTest"};
  ScratchKey scratch{HKEY_CURRENT_USER, "Software\\VorlixTest\\Registry"};
  Win32Registry registry;
};

TEST_F(Win32RegistryTest, CreatesWritesAndReadsBackRawText) {
  auto key =
      registry.OpenKey(RegistryRoot::CurrentUser, scratch.path(), RegistryAccess::All, true).key;
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Path(), scratch.path());
  key->WriteString("Path", "C:\\Ost");
  EXPECT_EQ(scratch.GetString("Path"), "C:\\Ost");

  const auto value = key->ReadValue("PATH");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, static_cast<std::uint32_t>(REG_SZ));
  EXPECT_EQ(value->data, std::string("C:\\Ost\0", 7));
  EXPECT_EQ(key->ReadValue("NoSuchValue"), std::nullopt);
}

TEST_F(Win32RegistryTest, OpeningWithoutCreationFindsOnlyExistingKeys) {
  EXPECT_EQ(
      registry.OpenKey(RegistryRoot::CurrentUser, scratch.path(), RegistryAccess::Read, false).key,
      nullptr);
  EXPECT_FALSE(scratch.Exists());
  scratch.SetString("x", "1");
  auto key =
      registry
          .OpenKey(RegistryRoot::CurrentUser, "\\" + scratch.path(), RegistryAccess::Read, false)
          .key;
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Path(), scratch.path());
}

TEST_F(Win32RegistryTest, WriteThroughAReadOnlyKeyRaisesAccessDenied) {
  scratch.SetString("Path", "old");
  auto key =
      registry.OpenKey(RegistryRoot::CurrentUser, scratch.path(), RegistryAccess::Read, true).key;
  ASSERT_NE(key, nullptr);
  try {
    key->WriteString("Path", "new");
    FAIL() << "no error";
  } catch (const OsError& error) {
    EXPECT_EQ(error.code(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  }
  EXPECT_EQ(scratch.GetString("Path"), "old");
}

TEST_F(Win32RegistryTest, ValuesOfEveryTypeComeBackRawAndLongOnesWhole) {
  const std::string dword("\x1F\x00\x00\x00", 4);
  const std::string multi("first\0second\0\0", 14);
  const std::string binary("\x00\x01\x02", 3);
  const std::string longText = std::string(5000, 'L') + std::string(1, '\0');
  scratch.SetRaw("Dword", REG_DWORD, dword);
  scratch.SetRaw("Multi", REG_MULTI_SZ, multi);
  scratch.SetRaw("Binary", REG_BINARY, binary);
  scratch.SetRaw("Long", REG_SZ, longText);
  auto key =
      registry.OpenKey(RegistryRoot::CurrentUser, scratch.path(), RegistryAccess::Read, false).key;
  ASSERT_NE(key, nullptr);

  EXPECT_EQ(key->ReadValue("Dword")->type, static_cast<std::uint32_t>(REG_DWORD));
  EXPECT_EQ(key->ReadValue("Dword")->data, dword);
  EXPECT_EQ(key->ReadValue("Multi")->type, static_cast<std::uint32_t>(REG_MULTI_SZ));
  EXPECT_EQ(key->ReadValue("Multi")->data, multi);
  EXPECT_EQ(key->ReadValue("Binary")->data, binary);
  EXPECT_EQ(key->ReadValue("Long")->data, longText);
}

TEST_F(Win32RegistryTest, ValueNamesInRegistryOrder) {
  auto key =
      registry.OpenKey(RegistryRoot::CurrentUser, scratch.path(), RegistryAccess::All, true).key;
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->ValueNames().empty());
  const std::string longName(200, 'n');
  key->WriteString("Alpha", "1");
  key->WriteString("Beta", "2");
  key->WriteString(longName, "3");
  EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"Alpha", "Beta", longName}));
}

}  // namespace
}  // namespace vorlix::platform::win32
