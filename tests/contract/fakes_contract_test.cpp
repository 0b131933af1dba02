#include "contract/platform_contract.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_registry.h"

namespace vorlix::contract {
namespace {

struct FakeSystem {
  FakeSystem() { files.AddFolder(folder); }

  fakes::FakeFileSystem files;
  fakes::FakeRegistry registry;
  fakes::FakePrivateProfile profile;
  std::string folder = "C:\\Contract";
  std::string key = "Software\\VorlixContract";
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fakes, PlatformContract, FakeSystem);

}  // namespace
}  // namespace vorlix::contract
