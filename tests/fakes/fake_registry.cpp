#include "fakes/fake_registry.h"

#include <cctype>

namespace vorlix::fakes {

using platform::RegistryAccess;
using platform::RegistryRoot;
using platform::RegistryValue;

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class FakeKey final : public platform::RegistryKey {
 public:
  FakeKey(FakeRegistry& registry, std::string id, FakeRegistry::Key& key, RegistryAccess access)
      : registry_(registry), id_(std::move(id)), key_(key), access_(access) {}

  std::string Path() const override { return key_.path; }

  std::optional<RegistryValue> ReadValue(const std::string& name) override {
    for (const auto& [valueName, value] : key_.values) {
      if (Lower(valueName) == Lower(name)) return value;
    }
    return std::nullopt;
  }

  void WriteString(const std::string& name, const std::string& value) override {
    if (access_ == RegistryAccess::Read || registry_.failWrite.count(id_)) {
      throw OsError("Cannot write registry value " + name, 5);
    }
    RegistryValue stored{platform::kRegString, value + std::string(1, '\0')};
    for (auto& [valueName, existing] : key_.values) {
      if (Lower(valueName) == Lower(name)) {
        existing = stored;
        return;
      }
    }
    key_.values.emplace_back(name, stored);
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    for (const auto& entry : key_.values) names.push_back(entry.first);
    return names;
  }

 private:
  FakeRegistry& registry_;
  std::string id_;
  FakeRegistry::Key& key_;
  RegistryAccess access_;
};

}  // namespace

std::string FakeRegistry::Id(RegistryRoot root, const std::string& path) {
  std::string trimmed = path;
  while (!trimmed.empty() && trimmed.front() == '\\') trimmed.erase(0, 1);
  while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
  return Lower((root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + trimmed);
}

void FakeRegistry::SetString(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& value) {
  SetRaw(root, path, name, {platform::kRegString, value + std::string(1, '\0')});
}

void FakeRegistry::SetRaw(RegistryRoot root, const std::string& path, const std::string& name,
                          RegistryValue value) {
  Key& key = keys_[Id(root, path)];
  if (key.path.empty()) key.path = path;
  for (auto& [valueName, existing] : key.values) {
    if (Lower(valueName) == Lower(name)) {
      existing = std::move(value);
      return;
    }
  }
  key.values.emplace_back(name, std::move(value));
}

FakeRegistry::Key* FakeRegistry::FindKey(RegistryRoot root, const std::string& path) {
  const auto found = keys_.find(Id(root, path));
  return found == keys_.end() ? nullptr : &found->second;
}

std::optional<std::string> FakeRegistry::GetString(RegistryRoot root, const std::string& path,
                                                   const std::string& name) {
  Key* key = FindKey(root, path);
  if (!key) return std::nullopt;
  for (const auto& [valueName, value] : key->values) {
    if (Lower(valueName) == Lower(name)) return std::string(value.data.c_str());
  }
  return std::nullopt;
}

platform::KeyOpening FakeRegistry::OpenKey(RegistryRoot root, const std::string& path,
                                           RegistryAccess access, bool create) {
  constexpr std::uint32_t kFileNotFound = 2;
  constexpr std::uint32_t kAccessDenied = 5;
  const std::string id = Id(root, path);
  if (failOpen.count(id)) return {nullptr, kAccessDenied};
  auto found = keys_.find(id);
  if (found == keys_.end()) {
    if (!create) return {nullptr, kFileNotFound};
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.front() == '\\') trimmed.erase(0, 1);
    found = keys_.emplace(id, Key{trimmed, {}}).first;
  }
  opened.push_back(id + (access == RegistryAccess::All ? " (all)" : " (read)"));
  return {std::make_unique<FakeKey>(*this, id, found->second, access), 0};
}

}  // namespace vorlix::fakes
