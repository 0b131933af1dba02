#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/private_profile.h"
#include "platform/registry.h"

namespace vorlix::console {

// Stands in for the registry during a dry run: keys are opened for reading only and never
// created, and a write is kept in memory, so the conversion reports the value it would store.
class DryRunRegistry final : public platform::Registry {
 public:
  explicit DryRunRegistry(platform::Registry& real) : real_(real) {}
  platform::KeyOpening OpenKey(platform::RegistryRoot root, const std::string& path,
                               platform::RegistryAccess access, bool create) override;

 private:
  platform::Registry& real_;
  std::map<std::string, std::string> written_;  // by lower-case root\key\name
};

// The same for ini files: reads go to the files, writes stay in memory.
class DryRunProfile final : public platform::PrivateProfile {
 public:
  explicit DryRunProfile(platform::PrivateProfile& real) : real_(real) {}
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  void WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> ReadSection(const std::string& file,
                                       const std::string& section) override;
  std::vector<std::string> ReadSections(const std::string& file) override;
  void DeleteKey(const std::string&, const std::string&, const std::string&) override {}
  void EraseSection(const std::string&, const std::string&) override {}
  void Flush(const std::string&) override {}

 private:
  platform::PrivateProfile& real_;
  std::map<std::string, std::string> written_;  // by lower-case file|section|key
};

}  // namespace vorlix::console
