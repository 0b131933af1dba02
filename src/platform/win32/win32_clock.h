#pragma once

#include "platform/clock.h"

namespace vorlix::platform::win32 {

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
  std::string ShortDate(const LocalTime& time) override;
  std::string LongTime(const LocalTime& time) override;
};

}  // namespace vorlix::platform::win32
