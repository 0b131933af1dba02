#include "settings/text_compare.h"

#include <algorithm>

namespace vorlix::settings {

namespace {

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(x) == FoldCase(y);
         });
}

}  // namespace vorlix::settings
