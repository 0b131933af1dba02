#include "console/dry_run.h"

#include <optional>
#include <utility>

#include "common/text.h"

namespace vorlix::console {

namespace {

class DryRunKey final : public platform::RegistryKey {
 public:
  DryRunKey(std::unique_ptr<platform::RegistryKey> real,
            std::map<std::string, std::string>& written, std::string id)
      : real_(std::move(real)), written_(written), id_(std::move(id)) {}

  std::string Path() const override { return real_->Path(); }
  std::optional<platform::RegistryValue> ReadValue(const std::string& name) override {
    const auto found = written_.find(Id(name));
    if (found == written_.end()) return real_->ReadValue(name);
    return platform::RegistryValue{platform::kRegString, found->second + '\0'};
  }
  void WriteString(const std::string& name, const std::string& value) override {
    written_[Id(name)] = value;
  }
  std::vector<std::string> ValueNames() override { return real_->ValueNames(); }

 private:
  std::string Id(const std::string& name) const { return id_ + AsciiLower(name); }

  std::unique_ptr<platform::RegistryKey> real_;
  std::map<std::string, std::string>& written_;
  std::string id_;
};

}  // namespace

platform::KeyOpening DryRunRegistry::OpenKey(platform::RegistryRoot root, const std::string& path,
                                             platform::RegistryAccess, bool) {
  // Reading needs no elevation, which is the point of a dry run.
  platform::KeyOpening opening = real_.OpenKey(root, path, platform::RegistryAccess::Read, false);
  if (!opening.key) return opening;
  const std::string id = (root == platform::RegistryRoot::LocalMachine ? "hklm\\" : "hkcu\\") +
                         AsciiLower(path) + "\\";
  opening.key = std::make_unique<DryRunKey>(std::move(opening.key), written_, id);
  return opening;
}

std::string DryRunProfile::ReadString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
  const auto found = written_.find(AsciiLower(file + "|" + section + "|" + key));
  if (found != written_.end()) return found->second;
  return real_.ReadString(file, section, key, fallback);
}

void DryRunProfile::WriteString(const std::string& file, const std::string& section,
                                const std::string& key, const std::string& value) {
  written_[AsciiLower(file + "|" + section + "|" + key)] = value;
}

std::vector<std::string> DryRunProfile::ReadSection(const std::string& file,
                                                    const std::string& section) {
  return real_.ReadSection(file, section);
}

std::vector<std::string> DryRunProfile::ReadSections(const std::string& file) {
  return real_.ReadSections(file);
}

}  // namespace vorlix::console
