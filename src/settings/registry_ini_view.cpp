#include "settings/registry_ini_view.h"

#include "platform/errors.h"
#include "settings/registry_text.h"

namespace vorlix::settings {

TRegistryIniView::TRegistryIniView(platform::Registry& registry, platform::RegistryRoot root,
                                   platform::RegistryAccess access, std::string baseKey)
    : registry_(registry), root_(root), access_(access), baseKey_(std::move(baseKey)) {
  registry_.OpenKey(root_, baseKey_, access_, true);
}

platform::KeyOpening TRegistryIniView::OpenSection(const std::string& section, bool create) {
  return registry_.OpenKey(root_, baseKey_ + "\\" + section, access_, create);
}

std::string TRegistryIniView::ValueOf(platform::RegistryKey& key, const std::string& ident,
                                      const std::string& fallback) {
  const auto value = key.ReadValue(ident);
  if (!value) return fallback;
  return RegistryValueText(*value).value_or(fallback);
}

std::string TRegistryIniView::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& fallback) {
  const auto key = OpenSection(section, false).key;
  return key ? ValueOf(*key, ident, fallback) : fallback;
}

void TRegistryIniView::WriteString(const std::string& section, const std::string& ident,
                                   const std::string& value) {
  const auto opening = OpenSection(section, true);
  if (!opening.key) {
    throw OsError("Cannot open registry key " + baseKey_ + "\\" + section, opening.error);
  }
  opening.key->WriteString(ident, value);
}

void TRegistryIniView::ReadSectionValues(const std::string& section,
                                         std::vector<std::string>& lines) {
  lines.clear();
  const auto key = OpenSection(section, false).key;
  if (!key) return;
  for (const std::string& ident : key->ValueNames()) {
    lines.push_back(ident + "=" + ValueOf(*key, ident, ""));
  }
}

}  // namespace vorlix::settings
