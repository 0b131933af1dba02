#pragma once

#include <string>
#include <vector>

namespace vorlix::platform {

// The system's private-profile (ini) file functions.
class PrivateProfile {
 public:
  virtual ~PrivateProfile() = default;
  virtual std::string ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& fallback) = 0;
  // Throws OsError when the system refuses the write.
  virtual void WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
  // Key names of a section, in file order.
  virtual std::vector<std::string> ReadSection(const std::string& file,
                                               const std::string& section) = 0;
  // Section names, in file order.
  virtual std::vector<std::string> ReadSections(const std::string& file) = 0;
  virtual void DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key) = 0;
  virtual void EraseSection(const std::string& file, const std::string& section) = 0;
  // Flushes the system's cached copy of the file.
  virtual void Flush(const std::string& file) = 0;
};

}  // namespace vorlix::platform
