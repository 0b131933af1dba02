#pragma once

#include "common/command_platform.h"
#include "platform/win32/win32_adapters.h"

namespace vorlix::testing {

// The system as both programs put it together in their main: the adapters, seen through the
// commands' platform.
class Win32Platform {
 public:
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  CommandPlatform& commands() { return commands_; }
  platform::FileSystem& files() { return commands_.files(); }
  platform::Registry& registry() { return commands_.registry(); }
  platform::PrivateProfile& profile() { return commands_.profile(); }
  platform::NetworkNames& network() { return commands_.network(); }
  platform::Clock& clock() { return commands_.clock(); }
  platform::Platform With(platform::Dialogs& dialogs) { return commands_.With(dialogs); }

 private:
  platform::win32::Win32Adapters os_;
  CommandPlatform commands_{{os_.files, os_.registry, os_.profile, os_.network, os_.clock}};
};

}  // namespace vorlix::testing
