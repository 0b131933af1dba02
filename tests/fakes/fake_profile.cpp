#include "fakes/fake_profile.h"

#include <algorithm>
#include <cctype>

#include "platform/errors.h"

namespace vorlix::fakes {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

FakePrivateProfile::Section* FakePrivateProfile::FindSection(const std::string& file,
                                                             const std::string& section) {
  const auto found = files.find(Lower(file));
  if (found == files.end()) return nullptr;
  for (auto& entry : found->second) {
    if (Lower(entry.first) == Lower(section)) return &entry;
  }
  return nullptr;
}

bool FakePrivateProfile::Has(const std::string& file) const { return files.count(Lower(file)) > 0; }

void FakePrivateProfile::Set(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) {
  auto& sections = files[Lower(file)];
  Section* found = FindSection(file, section);
  if (!found) {
    sections.push_back({section, {}});
    found = &sections.back();
  }
  for (auto& [name, existing] : found->second) {
    if (Lower(name) == Lower(key)) {
      existing = value;
      return;
    }
  }
  found->second.emplace_back(key, value);
}

std::string FakePrivateProfile::ReadString(const std::string& file, const std::string& section,
                                           const std::string& key, const std::string& fallback) {
  ++fileReads;
  const Section* found = FindSection(file, section);
  if (!found) return fallback;
  for (const auto& [name, value] : found->second) {
    if (Lower(name) == Lower(key)) return value;
  }
  return fallback;
}

void FakePrivateProfile::WriteString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& value) {
  if (failWrite.count(Lower(file))) throw OsError("Unable to write to " + file, 5);
  Set(file, section, key, value);
}

std::vector<std::string> FakePrivateProfile::ReadSection(const std::string& file,
                                                         const std::string& section) {
  std::vector<std::string> keys;
  if (const Section* found = FindSection(file, section)) {
    for (const auto& entry : found->second) keys.push_back(entry.first);
  }
  return keys;
}

std::vector<std::string> FakePrivateProfile::ReadSections(const std::string& file) {
  std::vector<std::string> names;
  const auto found = files.find(Lower(file));
  if (found != files.end()) {
    for (const auto& entry : found->second) names.push_back(entry.first);
  }
  return names;
}

void FakePrivateProfile::DeleteKey(const std::string& file, const std::string& section,
                                   const std::string& key) {
  if (Section* found = FindSection(file, section)) {
    auto& values = found->second;
    values.erase(
        std::remove_if(values.begin(), values.end(),
                       [&](const auto& entry) { return Lower(entry.first) == Lower(key); }),
        values.end());
  }
}

void FakePrivateProfile::EraseSection(const std::string& file, const std::string& section) {
  const auto found = files.find(Lower(file));
  if (found == files.end()) return;
  auto& sections = found->second;
  sections.erase(std::remove_if(sections.begin(), sections.end(),
                                [&](const Section& s) { return Lower(s.first) == Lower(section); }),
                 sections.end());
}

void FakePrivateProfile::Flush(const std::string&) {}

}  // namespace vorlix::fakes
