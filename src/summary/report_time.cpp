#include "summary/report_time.h"

#include <chrono>

#include "common/text.h"

namespace vorlix::summary {

namespace {

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

// Checks the fields' ranges and makes both forms from them.
std::optional<ReportTime> FromFields(std::string_view date, std::string_view clock,
                                     std::string_view offset) {
  const std::chrono::year_month_day day{std::chrono::year(Number(date, 0, 4)),
                                        std::chrono::month(Number(date, 4, 2)),
                                        std::chrono::day(Number(date, 6, 2))};
  if (!day.ok() || Number(clock, 0, 2) > 23 || Number(clock, 2, 2) > 59 ||
      Number(clock, 4, 2) > 59) {
    return std::nullopt;
  }
  ReportTime time;
  time.order = Join({date, clock});
  time.shown = Join({date.substr(0, 4), "-", date.substr(4, 2), "-", date.substr(6, 2), " ",
                     clock.substr(0, 2), ":", clock.substr(2, 2), ":", clock.substr(4, 2)});
  if (!offset.empty()) {
    time.shown += ' ';
    time.shown += offset;
  }
  return time;
}

long long SecondsOf(std::string_view order) {
  if (order.size() != 14) return 0;
  const std::chrono::year_month_day day{std::chrono::year(Number(order, 0, 4)),
                                        std::chrono::month(Number(order, 4, 2)),
                                        std::chrono::day(Number(order, 6, 2))};
  const long long days = std::chrono::sys_days(day).time_since_epoch().count();
  return days * 86400 + Number(order, 8, 2) * 3600 + Number(order, 10, 2) * 60 +
         Number(order, 12, 2);
}

}  // namespace

std::optional<ReportTime> TimeFromIso(std::string_view text) {
  // yyyy-mm-ddThh:mm:ss
  if (text.size() < 19 || !Digits(text, 0, 4) || text[4] != '-' || !Digits(text, 5, 2) ||
      text[7] != '-' || !Digits(text, 8, 2) || (text[10] != 'T' && text[10] != ' ') ||
      !Digits(text, 11, 2) || text[13] != ':' || !Digits(text, 14, 2) || text[16] != ':' ||
      !Digits(text, 17, 2)) {
    return std::nullopt;
  }
  const std::string date = Join({text.substr(0, 4), text.substr(5, 2), text.substr(8, 2)});
  const std::string clock = Join({text.substr(11, 2), text.substr(14, 2), text.substr(17, 2)});
  std::string_view offset = text.substr(19);
  if (offset == "Z") {
    offset = "+00:00";
  } else if (!offset.empty()) {
    const bool form = offset.size() == 6 && (offset[0] == '+' || offset[0] == '-') &&
                      Digits(offset, 1, 2) && offset[3] == ':' && Digits(offset, 4, 2);
    if (!form) return std::nullopt;
  }
  return FromFields(date, clock, offset);
}

std::optional<ReportTime> TimeFromStamp(std::string_view stamp) {
  if (stamp.size() != 15 || !Digits(stamp, 0, 8) || stamp[8] != '-' || !Digits(stamp, 9, 6)) {
    return std::nullopt;
  }
  return FromFields(stamp.substr(0, 8), stamp.substr(9), {});
}

ReportTime TimeAsWritten(std::string_view text) { return {std::string(text), {}}; }

long long SecondsBetween(std::string_view earlier, std::string_view later) {
  return SecondsOf(later) - SecondsOf(earlier);
}

std::string DayShown(std::string_view day) {
  if (day.size() != 8) return std::string(day);
  return Join({day.substr(0, 4), "-", day.substr(4, 2), "-", day.substr(6, 2)});
}

}  // namespace vorlix::summary
