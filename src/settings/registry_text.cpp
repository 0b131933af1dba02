#include "settings/registry_text.h"

#include <cstdint>

namespace vorlix::settings {

namespace {

std::string UpToNul(const std::string& data) { return data.substr(0, data.find('\0')); }

// Bytes in order of significance; little-endian unless told otherwise.
std::optional<std::string> NumberText(const std::string& data, std::size_t size, bool bigEndian) {
  if (data.size() != size) return std::nullopt;
  std::uint64_t number = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t index = bigEndian ? i : size - 1 - i;
    number = (number << 8) | static_cast<unsigned char>(data[index]);
  }
  return std::to_string(number);
}

}  // namespace

std::optional<std::string> RegistryValueText(const platform::RegistryValue& value) {
  switch (value.type) {
    case platform::kRegString:
    case platform::kRegExpandString:
    case platform::kRegMultiString:
      return UpToNul(value.data);
    case platform::kRegDword:
      return NumberText(value.data, 4, false);
    case platform::kRegDwordBigEndian:
      return NumberText(value.data, 4, true);
    case platform::kRegQword:
      return NumberText(value.data, 8, false);
    default:
      return std::nullopt;
  }
}

}  // namespace vorlix::settings
