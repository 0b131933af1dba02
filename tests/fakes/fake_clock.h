#pragma once

#include <cstdio>

#include "platform/clock.h"

namespace vorlix::fakes {

// A clock stopped at a chosen moment; formats as d/m/yyyy and hh:mm:ss.
class FakeClock final : public platform::Clock {
 public:
  platform::LocalTime now{2026, 12, 8, 14, 5, 9, 0};

  platform::LocalTime Now() override { return now; }
  std::string ShortDate(const platform::LocalTime& t) override {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%04d", t.day, t.month, t.year);
    return buffer;
  }
  std::string LongTime(const platform::LocalTime& t) override {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buffer;
  }
};

}  // namespace vorlix::fakes
