#pragma once

#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_network.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_registry.h"
#include "platform/platform.h"

namespace vorlix::fakes {

// A whole fake machine, handed to the logic as its Platform.
struct FakeMachine {
  FakeFileSystem files;
  FakeRegistry registry;
  FakePrivateProfile profile;
  FakeNetworkNames network;
  FakeDialogs dialogs;
  FakeClock clock;
  platform::Platform platform{files, registry, profile, network, dialogs, clock};
};

}  // namespace vorlix::fakes
