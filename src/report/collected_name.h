#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

// The forms a collected report carries outside its text, each written and read here: its name
// in a collecting folder, the stamp in that name, and the time of its JSON form.
namespace vorlix::report {

// "2026-12-08T14:05:09+01:00": local time and its offset from UTC.
std::string IsoLocalTime(const platform::LocalTime& time, int utcOffsetMinutes);
// "+05:30", "-08:00", "+00:00".
std::string UtcOffsetText(int utcOffsetMinutes);

struct IsoTime {
  platform::LocalTime time;
  std::optional<int> utcOffsetMinutes;  // none when the text gives no offset
};
// Also takes "Z" for "+00:00", no offset, and a space for the "T"; nothing for a day or clock
// that cannot be.
std::optional<IsoTime> ParseIsoTime(std::string_view text);

// "20261208-140509".
std::string Stamp(const platform::LocalTime& time);
std::optional<platform::LocalTime> ParseStamp(std::string_view stamp);

// What the name of a collected report tells:
// "<COMPUTER>_<USER>_<Program>_<yyyymmdd-hhmmss>[-N].txt" or ".json". A computer name holds no
// underscore; a user name may.
struct CollectedName {
  std::string computer;
  std::string user;
  std::string program;  // as the family spells it
  std::string stamp;    // "yyyymmdd-hhmmss"
  int copy = 1;         // 2, 3, ... for a name that existed already
  bool json = false;
};

// The file name, the copy number after the stamp from 2 on.
std::string CollectedFileName(const CollectedName& name);
std::optional<CollectedName> ParseCollectedName(std::string_view fileName);

}  // namespace vorlix::report
