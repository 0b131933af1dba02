#pragma once

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_network_names.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"

namespace vorlix::platform::win32 {

// The adapters of the system, one of each; a front end's main puts its platform together from
// them.
struct Win32Adapters {
  Win32FileSystem files;
  Win32Registry registry;
  Win32PrivateProfile profile;
  Win32NetworkNames network;
  Win32Clock clock;
};

}  // namespace vorlix::platform::win32
