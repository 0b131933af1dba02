#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/private_profile.h"
#include "settings/ini_store.h"

namespace vorlix::settings {

// One remembered section: identifiers and their values, in parallel.
class TIniFileSection {
 public:
  explicit TIniFileSection(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  // Position of the identifier, compared without regard to case; the first match wins.
  std::optional<std::size_t> Find(const std::string& ident) const;
  const std::string& Value(std::size_t position) const { return values_.at(position); }
  void SetValue(std::size_t position, const std::string& value) { values_.at(position) = value; }
  void Append(const std::string& ident, const std::string& value);

 private:
  std::string name_;
  std::vector<std::string> idents_;
  std::vector<std::string> values_;
};

// The remembered sections, in the order they were first touched.
class TIniFileSectionList {
 public:
  // The section named exactly so (case counts); the first match wins. Null when none.
  TIniFileSection* Find(const std::string& name);
  // The section named so, appended when there is none.
  TIniFileSection& FindOrAdd(const std::string& name);
  std::size_t Count() const { return sections_.size(); }
  void Clear() { sections_.clear(); }

 private:
  std::vector<std::unique_ptr<TIniFileSection>> sections_;
};

// An ini file that remembers every single value it has read or written (a default returned for
// an absent identifier too), so a second read costs no file access and does not see later
// changes to the file. Listings always go to the file.
class TIniFileCache final : public IniStore {
 public:
  // Reads nothing yet.
  TIniFileCache(platform::PrivateProfile& profile, std::string fileName);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& fallback) override;
  // Writes to the file first; remembers the value only when the write succeeded.
  void WriteString(const std::string& section, const std::string& ident,
                   const std::string& value) override;
  // Deletes in the file, then forgets everything.
  void DeleteKey(const std::string& section, const std::string& ident);
  // Erases in the file, then forgets everything.
  void EraseSection(const std::string& section);
  void ReadSection(const std::string& section, std::vector<std::string>& idents);
  void ReadSections(std::vector<std::string>& sections);
  void ReadSectionValues(const std::string& section, std::vector<std::string>& lines) override;
  // Lets the system write out its copy of the file.
  void UpdateFile();

  // Sections held in memory; for tests of the memory rules.
  std::size_t RememberedSections() const { return memory_.Count(); }

 private:
  void Remember(const std::string& section, const std::string& ident, const std::string& value);

  platform::PrivateProfile& profile_;
  std::string fileName_;
  TIniFileSectionList memory_;
};

}  // namespace vorlix::settings
