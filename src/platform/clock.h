#pragma once

#include <string>

namespace vorlix::platform {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // The user's regional short date and long time formats.
  virtual std::string ShortDate(const LocalTime& time) = 0;
  virtual std::string LongTime(const LocalTime& time) = 0;
};

}  // namespace vorlix::platform
