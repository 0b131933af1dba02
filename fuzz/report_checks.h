#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "fuzz_support.h"
#include "summary/report_reader.h"

namespace vorlix::fuzz {

// Strict UTF-8: no overlong forms, no surrogates, nothing past the last code point.
inline bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t extra = c < 0x80                ? 0
                              : c >= 0xC2 && c < 0xE0 ? 1
                              : c >= 0xE0 && c < 0xF0 ? 2
                              : c >= 0xF0 && c < 0xF5 ? 3
                                                      : 9;
    if (extra == 9 || text.size() - i <= extra) return false;
    char32_t code = extra == 0 ? c : c & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (extra == 3 && (code < 0x10000 || code > 0x10FFFF))) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

// What holds for every report the summary takes in.
inline void CheckReport(const summary::Report& report) {
  using summary::CheckState;
  int failed = 0;
  std::array<CheckState, summary::kCheckCount> worst{};
  for (const summary::ReportLine& line : report.lines) {
    FUZZ_CHECK(ValidUtf8(line.text));
    if (line.verdict == CheckState::Failed) ++failed;
    if (!line.check || line.verdict == CheckState::Absent) continue;
    CheckState& state = worst[static_cast<std::size_t>(*line.check)];
    if (state != CheckState::Failed) state = line.verdict;
  }
  FUZZ_CHECK(failed == report.failedLines);
  FUZZ_CHECK(worst == report.states);
  FUZZ_CHECK(!report.level.empty());
  for (const auto* text : {&report.computer, &report.user, &report.program, &report.time.shown}) {
    FUZZ_CHECK(ValidUtf8(*text));
  }
}

}  // namespace vorlix::fuzz
