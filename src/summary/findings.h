#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "summary/report_reader.h"

namespace vorlix::summary {

// One pattern of check states and values, the cause it points to, and the repair.
struct Rule {
  std::string_view id;  // stable, for anchors and tests
  std::string_view title;
  std::string_view cause;
  std::string_view repair;
  // The indexes of the lines that show the pattern; empty when the report does not.
  std::vector<std::size_t> (*match)(const Report&);
};

// Every rule, in the order the summary lists its findings.
std::span<const Rule> Rules();

struct Finding {
  const Rule* rule;
  std::vector<std::size_t> lines;  // indexes into Report::lines
};

// The rules that match a report, in the order of Rules().
std::vector<Finding> FindingsOf(const Report& report);

}  // namespace vorlix::summary
