#pragma once

#include "common/share_outages.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_network_names.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"

namespace vorlix::platform::win32 {

// The system as both programs and the tests under Wine see it, put together in one place: the
// adapters, with the file system seen through ShareOutages, so that a server that does not
// answer costs one wait per report.
class Win32System {
 public:
  Win32System() = default;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  FileSystem& files() { return outages_; }
  ShareOutages& outages() { return outages_; }
  Registry& registry() { return registry_; }
  PrivateProfile& profile() { return profile_; }
  NetworkNames& network() { return network_; }
  Clock& clock() { return clock_; }
  // Everything the logic may ask, with the front end's own dialogs.
  Platform With(Dialogs& dialogs) {
    return {outages_, registry_, profile_, network_, dialogs, clock_};
  }

 private:
  Win32FileSystem system_;
  Win32Registry registry_;
  Win32PrivateProfile profile_;
  Win32NetworkNames network_;
  Win32Clock clock_;
  ShareOutages outages_{system_, network_};
};

}  // namespace vorlix::platform::win32
