#pragma once

#include <string>

#include "summary/summary.h"

namespace vorlix::summary {

// The rows of the table as CSV (RFC 4180: comma, CR LF, quoted where needed), UTF-8 with a byte
// order mark so that a spreadsheet takes the characters right: who, state, level, time, the
// count of failed lines, each check's state, the likely causes and the file. The fields come
// from whoever wrote to the share: one that a spreadsheet would run as a formula is written as
// text.
std::string SummaryCsv(const Summary& summary);

}  // namespace vorlix::summary
