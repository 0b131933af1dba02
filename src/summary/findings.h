#pragma once

#include <vector>

#include "findings/findings.h"
#include "summary/report_reader.h"

namespace vorlix::summary {

using findings::Finding;
using findings::Rule;
using findings::Rules;

// The rules that match a report read from a file, in the order of Rules().
std::vector<Finding> FindingsOf(const Report& report);

}  // namespace vorlix::summary
