#include "summary/findings.h"

namespace vorlix::summary {

std::vector<Finding> FindingsOf(const Report& report) { return findings::FindingsOf(report.lines); }

}  // namespace vorlix::summary
