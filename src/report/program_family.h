#pragma once

#include <string_view>

namespace vorlix::report {

// The six programs of the family, in the order the window lists them. Each name is used unchanged
// as registry subkey, ini section and ini file base name.
inline constexpr std::string_view kPrograms[] = {"Ostrelan", "Brannicle", "Corvagent",
                                                 "Delmoran", "Ferlund",   "Gaspin"};

}  // namespace vorlix::report
