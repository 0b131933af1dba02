#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlix::summary {

// What the name of a collected report tells:
// "<COMPUTER>_<USER>_<Program>_<yyyymmdd-hhmmss>[-N].txt" or ".json".
struct ReportName {
  std::string computer;
  std::string user;
  std::string program;  // as the family spells it
  std::string stamp;    // "yyyymmdd-hhmmss"
  int copy = 1;         // 2, 3, ... for a name that existed already
  bool json = false;
};
std::optional<ReportName> ParseReportName(std::string_view fileName);

// The file name without its folder.
std::string FileNameOf(std::string_view path);

}  // namespace vorlix::summary
