#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "report/report_file.h"
#include "settings/kx_settings.h"

namespace vorlix::report {

// The default a setting line reads with: a text no real setting holds.
inline constexpr std::string_view kMissingSentinel = "aksldfkrkaa;rkk";
// What a setting line shows for a setting that is absent.
inline constexpr std::string_view kMissingText = "     ...missing";
// The installation folder when the machine store has no "Path".
inline constexpr std::string_view kAbsentPath = "Absent";

// One program's three settings stores, opened for the report, with the setting lines that say
// where each value lives and what it holds.
//   store 0: "<Path>\<program>.Ini" through an ini file cache, Path read from the machine store
//   store 1: HKEY_LOCAL_MACHINE\Software\Tarnwick, access by mode (0 all, 1 read)
//   store 2: HKEY_CURRENT_USER\Software\Tarnwick, full access
//   section 0: "Tarnwick", section 1: the program name
// A key that cannot be opened is no error: its settings read as absent.
class TReportSettings : public settings::TKxSettings {
 public:
  // The report passes mode 1 (read-only).
  TReportSettings(platform::Platform& platform, const std::string& programName, int mode);

  using settings::TKxSettings::ReadSectionValues;
  using settings::TKxSettings::ReadString;

  // "<program>.ini [<program>] <ident>", "HKEY_LOCAL_MACHINE\Software\Tarnwick\<section>\<ident>"
  // or "HKEY_CURRENT_USER\Software\Tarnwick\<ident>"; at most 255 characters.
  std::string SettingLocation(int store, int section, const std::string& ident);

  // Reads the setting once, with the default kMissingSentinel, and writes its check line at line
  // level 1: "<location>=<value>", the value kMissingText when absent; passed unless it shows
  // kMissingText. Returns the value as read: kMissingSentinel when the setting is absent.
  //
  // The server store remembers what a read returned, the sentinel included, so a caller that
  // needs the value as well (LicenseFolder) takes it from here rather than reading it again.
  std::string ReportSetting(ReportFile& file, int store, int section, const std::string& ident);

  // True when a value returned by ReportSetting stands for an absent setting.
  static bool IsMissing(std::string_view value) { return value == kMissingSentinel; }
};

}  // namespace vorlix::report
