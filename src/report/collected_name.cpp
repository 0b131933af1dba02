#include "report/collected_name.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "common/family.h"
#include "common/files.h"
#include "common/text.h"

namespace vorlix::report {

namespace {

constexpr std::string_view kTextExtension = ".txt";
constexpr std::string_view kJsonExtension = ".json";
constexpr std::size_t kStampLength = 15;
constexpr std::size_t kStampClockDigits = 6;
static_assert(kMostCopies < 100000, "a copy number is shorter than the stamp's clock");

bool Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return false;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

int Number(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         SameTextIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// A time whose day and clock can be.
std::optional<platform::LocalTime> Checked(const platform::LocalTime& time) {
  const std::chrono::year_month_day day{std::chrono::year(time.year),
                                        std::chrono::month(static_cast<unsigned>(time.month)),
                                        std::chrono::day(static_cast<unsigned>(time.day))};
  if (!day.ok() || time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
  return time;
}

// Takes "_<program>" off the end of the name and gives the family's spelling.
std::optional<std::string> TakeProgram(std::string_view& name) {
  for (const std::string_view program : family::kPrograms) {
    if (name.size() > program.size() && EndsWithNoCase(name, program) &&
        name[name.size() - program.size() - 1] == '_') {
      name.remove_suffix(program.size() + 1);
      return std::string(program);
    }
  }
  return std::nullopt;
}

}  // namespace

std::string UtcOffsetText(int utcOffsetMinutes) {
  const int offset = std::abs(utcOffsetMinutes);
  char text[16];
  std::snprintf(text, sizeof text, "%c%02d:%02d", utcOffsetMinutes < 0 ? '-' : '+', offset / 60,
                offset % 60);
  return text;
}

std::string IsoLocalTime(const platform::LocalTime& t, int utcOffsetMinutes) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text + UtcOffsetText(utcOffsetMinutes);
}

std::optional<IsoTime> ParseIsoTime(std::string_view text) {
  // yyyy-mm-ddThh:mm:ss
  if (text.size() < 19 || !Digits(text, 0, 4) || text[4] != '-' || !Digits(text, 5, 2) ||
      text[7] != '-' || !Digits(text, 8, 2) || (text[10] != 'T' && text[10] != ' ') ||
      !Digits(text, 11, 2) || text[13] != ':' || !Digits(text, 14, 2) || text[16] != ':' ||
      !Digits(text, 17, 2)) {
    return std::nullopt;
  }
  IsoTime parsed;
  const auto time = Checked({Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2),
                             Number(text, 11, 2), Number(text, 14, 2), Number(text, 17, 2)});
  if (!time) return std::nullopt;
  parsed.time = *time;
  const std::string_view offset = text.substr(19);
  if (offset == "Z") {
    parsed.utcOffsetMinutes = 0;
  } else if (!offset.empty()) {
    const bool form = offset.size() == 6 && (offset[0] == '+' || offset[0] == '-') &&
                      Digits(offset, 1, 2) && offset[3] == ':' && Digits(offset, 4, 2);
    if (!form) return std::nullopt;
    const int minutes = Number(offset, 1, 2) * 60 + Number(offset, 4, 2);
    parsed.utcOffsetMinutes = offset[0] == '-' ? -minutes : minutes;
  }
  return parsed;
}

std::string Stamp(const platform::LocalTime& t) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return stamp;
}

std::optional<platform::LocalTime> ParseStamp(std::string_view stamp) {
  if (stamp.size() != kStampLength || !Digits(stamp, 0, 8) || stamp[8] != '-' ||
      !Digits(stamp, 9, 6)) {
    return std::nullopt;
  }
  return Checked({Number(stamp, 0, 4), Number(stamp, 4, 2), Number(stamp, 6, 2),
                  Number(stamp, 9, 2), Number(stamp, 11, 2), Number(stamp, 13, 2)});
}

std::string CollectedFileName(const CollectedName& name) {
  std::string text;
  for (const std::string_view part : {name.computer, name.user, name.program}) {
    text.append(part);
    text.push_back('_');
  }
  text += name.stamp;
  if (name.copy > 1) {
    text += '-';
    text += std::to_string(name.copy);
  }
  text += name.json ? kJsonExtension : kTextExtension;
  return text;
}

std::optional<CollectedName> ParseCollectedName(std::string_view fileName) {
  CollectedName parsed;
  std::string_view name = fileName;
  if (EndsWithNoCase(name, kTextExtension)) {
    name.remove_suffix(kTextExtension.size());
  } else if (EndsWithNoCase(name, kJsonExtension)) {
    name.remove_suffix(kJsonExtension.size());
    parsed.json = true;
  } else {
    return std::nullopt;
  }
  // The "-2", "-3", ... of a name that existed already; six digits after a dash are the
  // stamp's clock.
  const auto dash = name.find_last_of('-');
  const std::size_t digits = dash == std::string_view::npos ? 0 : name.size() - dash - 1;
  if (digits > 0 && digits != kStampClockDigits && Digits(name, dash + 1, digits)) {
    if (digits > kStampClockDigits) return std::nullopt;
    parsed.copy = Number(name, dash + 1, digits);
    name = name.substr(0, dash);
  }
  if (name.size() < kStampLength + 1) return std::nullopt;
  const std::string_view stamp = name.substr(name.size() - kStampLength);
  if (!Digits(stamp, 0, 8) || stamp[8] != '-' || !Digits(stamp, 9, 6)) return std::nullopt;
  parsed.stamp = std::string(stamp);
  name.remove_suffix(kStampLength);
  if (name.back() != '_') return std::nullopt;
  name.remove_suffix(1);
  auto program = TakeProgram(name);
  if (!program) return std::nullopt;
  parsed.program = std::move(*program);
  const auto underscore = name.find('_');
  if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == name.size()) {
    return std::nullopt;
  }
  parsed.computer = std::string(name.substr(0, underscore));
  parsed.user = std::string(name.substr(underscore + 1));
  return parsed;
}

}  // namespace vorlix::report
