#pragma once

#include <string>

#include "summary/summary.h"

namespace vorlix::summary {

// One self-contained HTML page (UTF-8, inline style, no script, nothing fetched): the grid of
// reports by checks, the findings, and every report's text with its failed lines marked.
std::string SummaryPage(const Summary& summary);

}  // namespace vorlix::summary
