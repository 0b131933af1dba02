#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/registry.h"

namespace vorlix::fakes {

// An in-memory registry: keys by root and path (case-insensitive), values in creation order.
class FakeRegistry final : public platform::Registry {
 public:
  struct Key {
    std::string path;  // as created
    std::vector<std::pair<std::string, platform::RegistryValue>> values;
  };

  // Set-up: a text value (REG_SZ) or any raw value; the key is created as needed.
  void SetString(platform::RegistryRoot root, const std::string& path, const std::string& name,
                 const std::string& value);
  void SetRaw(platform::RegistryRoot root, const std::string& path, const std::string& name,
              platform::RegistryValue value);
  Key* FindKey(platform::RegistryRoot root, const std::string& path);
  std::optional<std::string> GetString(platform::RegistryRoot root, const std::string& path,
                                       const std::string& name);

  // Faults.
  std::set<std::string> failOpen;   // "HKLM\\path" or "HKCU\\path", lower case
  std::set<std::string> failWrite;  // same form
  std::vector<std::string> opened;  // "HKLM\\path" of every successful open, with its access

  // A key in failOpen is refused as the system refuses missing rights (5); a missing key that
  // may not be created is not found (2).
  platform::KeyOpening OpenKey(platform::RegistryRoot root, const std::string& path,
                               platform::RegistryAccess access, bool create) override;

  static std::string Id(platform::RegistryRoot root, const std::string& path);

 private:
  std::map<std::string, Key> keys_;
};

}  // namespace vorlix::fakes
