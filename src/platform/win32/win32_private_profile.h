#pragma once

#include "platform/private_profile.h"

namespace vorlix::platform::win32 {

// Ini files through the system's private-profile functions (ANSI). A write, deletion or erasure
// that the system refuses raises OsError with its code.
class Win32PrivateProfile final : public PrivateProfile {
 public:
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
};

}  // namespace vorlix::platform::win32
