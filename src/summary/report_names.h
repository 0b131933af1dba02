#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "report/collected_name.h"

namespace vorlix::summary {

// What the name of a collected report tells; the form is the one the console writes.
using ReportName = report::CollectedName;
inline std::optional<ReportName> ParseReportName(std::string_view fileName) {
  return report::ParseCollectedName(fileName);
}

// The file name without its folder.
std::string FileNameOf(std::string_view path);

}  // namespace vorlix::summary
