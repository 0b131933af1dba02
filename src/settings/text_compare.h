#pragma once

#include <string_view>

namespace vorlix::settings {

// Equal but for the case of the letters A to Z, as identifiers and value names are compared.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vorlix::settings
