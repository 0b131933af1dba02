#include <windows.h>

#include "contract/platform_contract.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"

namespace vorlix::contract {
namespace {

// Wine's real file system, registry and ini functions, in scratch places removed afterwards.
struct Win32System {
  Win32System() {
    testing::RemoveTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
  }
  ~Win32System() { testing::RemoveTree(folder); }

  platform::win32::Win32FileSystem files;
  platform::win32::Win32Registry registry;
  platform::win32::Win32PrivateProfile profile;
  std::string folder = files.TempFolder() + "vorlix-contract";
  std::string key = "Software\\VorlixContract";
  testing::ScratchKey scratch{HKEY_CURRENT_USER, key};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, PlatformContract, Win32System);

}  // namespace
}  // namespace vorlix::contract
