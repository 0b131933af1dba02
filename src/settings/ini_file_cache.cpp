#include "settings/ini_file_cache.h"

#include "common/text.h"

namespace vorlix::settings {

std::optional<std::size_t> TIniFileSection::Find(const std::string& ident) const {
  for (std::size_t i = 0; i < idents_.size(); ++i) {
    if (SameTextIgnoringCase(idents_[i], ident)) return i;
  }
  return std::nullopt;
}

void TIniFileSection::Append(const std::string& ident, const std::string& value) {
  idents_.push_back(ident);
  values_.push_back(value);
}

TIniFileSection* TIniFileSectionList::Find(const std::string& name) {
  for (const auto& section : sections_) {
    if (section->Name() == name) return section.get();
  }
  return nullptr;
}

TIniFileSection& TIniFileSectionList::FindOrAdd(const std::string& name) {
  if (TIniFileSection* found = Find(name)) return *found;
  sections_.push_back(std::make_unique<TIniFileSection>(name));
  return *sections_.back();
}

TIniFileCache::TIniFileCache(platform::PrivateProfile& profile, std::string fileName)
    : profile_(profile), fileName_(std::move(fileName)) {}

std::string TIniFileCache::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& fallback) {
  if (const TIniFileSection* remembered = memory_.Find(section)) {
    if (const auto position = remembered->Find(ident)) return remembered->Value(*position);
  }
  std::string value = profile_.ReadString(fileName_, section, ident, fallback);
  memory_.FindOrAdd(section).Append(ident, value);
  return value;
}

void TIniFileCache::WriteString(const std::string& section, const std::string& ident,
                                const std::string& value) {
  profile_.WriteString(fileName_, section, ident, value);
  Remember(section, ident, value);
}

void TIniFileCache::Remember(const std::string& section, const std::string& ident,
                             const std::string& value) {
  TIniFileSection& remembered = memory_.FindOrAdd(section);
  if (const auto position = remembered.Find(ident)) {
    remembered.SetValue(*position, value);
  } else {
    remembered.Append(ident, value);
  }
}

void TIniFileCache::DeleteKey(const std::string& section, const std::string& ident) {
  profile_.DeleteKey(fileName_, section, ident);
  memory_.Clear();
}

void TIniFileCache::EraseSection(const std::string& section) {
  profile_.EraseSection(fileName_, section);
  memory_.Clear();
}

void TIniFileCache::ReadSection(const std::string& section, std::vector<std::string>& idents) {
  idents = profile_.ReadSection(fileName_, section);
}

void TIniFileCache::ReadSections(std::vector<std::string>& sections) {
  sections = profile_.ReadSections(fileName_);
}

void TIniFileCache::ReadSectionValues(const std::string& section, std::vector<std::string>& lines) {
  lines.clear();
  for (const std::string& ident : profile_.ReadSection(fileName_, section)) {
    lines.push_back(ident + "=" + profile_.ReadString(fileName_, section, ident, ""));
  }
}

void TIniFileCache::UpdateFile() { profile_.Flush(fileName_); }

}  // namespace vorlix::settings
