#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "settings/ini_store.h"

namespace vorlix::settings {

// The registry seen as an ini file: a section is a subkey of a base key, an identifier a value in
// that subkey. Every operation opens its subkey afresh with the view's access.
class TRegistryIniView final : public IniStore {
 public:
  // Opens the base key with creation allowed; whether that succeeds is not this object's concern:
  // a key that cannot be opened later reads as empty.
  TRegistryIniView(platform::Registry& registry, platform::RegistryRoot root,
                   platform::RegistryAccess access, std::string baseKey);

  // A value of any type reads as RegistryValueText gives it; absent when it gives nothing.
  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& fallback) override;
  // Creates the subkey as needed and stores a text value. Raises OsError when refused.
  void WriteString(const std::string& section, const std::string& ident,
                   const std::string& value) override;
  // A value that reads as absent gives "ident=".
  void ReadSectionValues(const std::string& section, std::vector<std::string>& lines) override;

 private:
  platform::KeyOpening OpenSection(const std::string& section, bool create);
  static std::string ValueOf(platform::RegistryKey& key, const std::string& ident,
                             const std::string& fallback);

  platform::Registry& registry_;
  platform::RegistryRoot root_;
  platform::RegistryAccess access_;
  std::string baseKey_;
};

}  // namespace vorlix::settings
