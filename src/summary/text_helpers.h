#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/text.h"

// The few text tests the summary makes; report texts are ASCII where they are compared (case
// as common/text.h folds it).
namespace vorlix::summary {

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

inline bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

inline bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         SameTextIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace vorlix::summary
