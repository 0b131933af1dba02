#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "report/report_file.h"

// Helpers for reading the reports the tests make.
namespace vorlix::testing {

using Lines = std::vector<std::string>;

inline constexpr const char* kCutLineMark = "<no CR LF> ";

// The lines of a report, each without its CR LF; a last line without one (a report cut short)
// comes back marked, so that a comparison shows it.
inline Lines CrLfLines(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(kCutLineMark + text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The same for a report that must be whole: a last line without CR LF also fails the test.
inline Lines WholeCrLfLines(const std::string& text) {
  Lines lines = CrLfLines(text);
  if (!lines.empty() && lines.back().rfind(kCutLineMark, 0) == 0) {
    ADD_FAILURE() << "last line has no CR LF: " << lines.back();
  }
  return lines;
}

// The n lines that follow the first line equal to marker.
inline Lines After(const Lines& lines, const std::string& marker, std::size_t n) {
  const auto found = std::find(lines.begin(), lines.end(), marker);
  if (found == lines.end()) return {"<" + marker + " not found>"};
  const auto available = static_cast<std::size_t>(lines.end() - found - 1);
  return Lines(found + 1, found + 1 + static_cast<std::ptrdiff_t>(std::min(n, available)));
}

// The lines of a file-access test that passes throughout.
inline Lines AccessPassed(const std::string& file) {
  return {"   Passed: File creation successful",
          "Reading file back...",
          "   Passed: File read successful",
          "   Passed: File contents correct",
          "Deleting file...",
          "   Passed: File deletion successful",
          "   Passed: " + file + " ...is deleted"};
}

// Puts the report level back as it was when the test ends.
struct LevelGuard {
  int saved = report::ReportLevel;
  ~LevelGuard() { report::ReportLevel = saved; }
};

}  // namespace vorlix::testing
