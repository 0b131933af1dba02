#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlix {

// Paths, messages, setting values and network names are held to this many characters.
inline constexpr std::size_t kShortStringMax = 255;

// The one place where a value is cut to the length the system holds.
inline std::string Short(std::string_view text) {
  return std::string(text.substr(0, kShortStringMax));
}

inline bool FitsShort(std::string_view text) { return text.size() <= kShortStringMax; }

}  // namespace vorlix
