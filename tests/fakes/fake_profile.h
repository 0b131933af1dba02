#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/private_profile.h"

namespace vorlix::fakes {

// Ini files in memory, matched as the system matches them: sections and keys case-insensitively.
class FakePrivateProfile final : public platform::PrivateProfile {
 public:
  using Section = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;
  std::map<std::string, std::vector<Section>> files;  // by lower-case file name
  std::set<std::string> failWrite;                    // lower-case file names
  int fileReads = 0;                                  // single-value reads that reached a file

  void Set(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value);
  bool Has(const std::string& file) const;

  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  void WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> ReadSection(const std::string& file,
                                       const std::string& section) override;
  std::vector<std::string> ReadSections(const std::string& file) override;
  void DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  void EraseSection(const std::string& file, const std::string& section) override;
  void Flush(const std::string& file) override;

 private:
  Section* FindSection(const std::string& file, const std::string& section);
};

}  // namespace vorlix::fakes
