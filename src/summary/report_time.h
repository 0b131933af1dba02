#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlix::summary {

// When a report was made, in the one form the summary shows: "2026-12-09 13:26:48", with
// " +05:30" when the offset is known. A banner's text is kept as written: its form depends on
// the workstation's locale, and day and month cannot be told apart, so it has no order.
struct ReportTime {
  std::string shown;
  std::string order;  // "yyyymmddhhmmss" local time; empty when unknown

  bool Known() const { return !order.empty(); }
  std::string Day() const { return order.substr(0, 8); }  // "yyyymmdd"
};

// "2026-12-09T13:26:48+05:30" (or "Z", or no offset), as the JSON form writes it.
std::optional<ReportTime> TimeFromIso(std::string_view text);
// "20261209-132648", as a collected report's name holds it.
std::optional<ReportTime> TimeFromStamp(std::string_view stamp);
ReportTime TimeAsWritten(std::string_view text);

// Whole seconds from one order key to a later one.
long long SecondsBetween(std::string_view earlier, std::string_view later);

// "2026-12-09" of a day "20261209".
std::string DayShown(std::string_view day);

}  // namespace vorlix::summary
