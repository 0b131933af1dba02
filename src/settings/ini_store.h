#pragma once

#include <string>
#include <vector>

namespace vorlix::settings {

// What every settings store offers: the operations of an ini file.
class IniStore {
 public:
  virtual ~IniStore() = default;
  // The value, or the fallback when the identifier is absent.
  virtual std::string ReadString(const std::string& section, const std::string& ident,
                                 const std::string& fallback) = 0;
  // Raises the store's error when the write is refused.
  virtual void WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) = 0;
  // Replaces the list by one "ident=value" line per value of the section, in store order.
  virtual void ReadSectionValues(const std::string& section, std::vector<std::string>& lines) = 0;
};

}  // namespace vorlix::settings
