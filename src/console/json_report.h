#pragma once

#include <string>
#include <string_view>

#include "console/session.h"
#include "platform/clock.h"

namespace vorlix::console {

// What a JSON report says about itself besides its lines. Texts are ANSI.
struct ReportFacts {
  std::string computer;
  std::string user;
  std::string program;
  int level = 1;  // 1 "Normal", 2 "Full"
  platform::LocalTime time;
  int utcOffsetMinutes = 0;
};

// The report as UTF-8 JSON: the facts, the count of failure lines and every line in order as
// {"text": ..., "check": "passed" | "failed" | null}. Joined with CR LF, the texts give the
// report back (in UTF-8).
std::string JsonReport(std::string_view reportText, const ReportFacts& facts, Session& session);

// "2026-12-08T14:05:09+01:00".
std::string IsoLocalTime(const platform::LocalTime& time, int utcOffsetMinutes);

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace vorlix::console
