#include "summary/report_time.h"

#include <chrono>
#include <cstdio>

#include "common/text.h"
#include "report/collected_name.h"

namespace vorlix::summary {

namespace {

int Number(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

// Both forms of a time that can be.
ReportTime FromLocal(const platform::LocalTime& t, std::string_view offset) {
  char order[24];
  std::snprintf(order, sizeof order, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  char shown[32];
  std::snprintf(shown, sizeof shown, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  ReportTime time{shown, order};
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
  const auto parsed = report::ParseIsoTime(text);
  if (!parsed) return std::nullopt;
  return FromLocal(parsed->time, parsed->utcOffsetMinutes
                                     ? report::UtcOffsetText(*parsed->utcOffsetMinutes)
                                     : std::string());
}

std::optional<ReportTime> TimeFromStamp(std::string_view stamp) {
  const auto parsed = report::ParseStamp(stamp);
  if (!parsed) return std::nullopt;
  return FromLocal(*parsed, {});
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
