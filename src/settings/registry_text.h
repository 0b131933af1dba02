#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace vorlix::settings {

// A registry value as the settings read it, whatever its type, so that a value of an unexpected
// type never stops a reader:
//   REG_SZ, REG_EXPAND_SZ          the text up to its first NUL, not expanded
//   REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_QWORD   the number in unsigned decimal
//   REG_MULTI_SZ                   its first string
//   REG_BINARY, REG_NONE, REG_LINK, others, and numbers of the wrong size: nullopt (absent)
std::optional<std::string> RegistryValueText(const platform::RegistryValue& value);

}  // namespace vorlix::settings
