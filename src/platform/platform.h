#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/network_names.h"
#include "platform/private_profile.h"
#include "platform/registry.h"

namespace vorlix::platform {

// Everything the logic may ask of the operating system; owned by whoever starts a command.
struct Platform {
  FileSystem& files;
  Registry& registry;
  PrivateProfile& profile;
  NetworkNames& network;
  Dialogs& dialogs;
  Clock& clock;
};

}  // namespace vorlix::platform
