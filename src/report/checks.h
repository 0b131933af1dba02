#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vorlix::report {

// The checks of a diagnostic report, in the order the report makes them.
enum class Check {
  MakerFolder,
  MakerFolderSearch,
  ProgramFolder,
  ProgramFiles,
  IniValues,
  LicenceSetting,
  LicenceFolder,
  LicenceFolderUnc,
  VirtualisedIni,
  LicenceDrive,
  LicenceDriveUnc,
  LicenceWriteTest,
  ProjectSetting,
  ProjectFolder,
  ProjectWriteTest,
  FileFormatSettings,
};
inline constexpr std::size_t kCheckCount = 16;

struct CheckInfo {
  Check check;
  std::string_view id;    // stable, for the JSON form and scripts
  std::string_view name;  // as the summary shows it
};
// Every check, in report order.
extern const std::array<CheckInfo, kCheckCount> kChecks;

inline const CheckInfo& InfoOf(Check check) { return kChecks[static_cast<std::size_t>(check)]; }
std::optional<Check> CheckById(std::string_view id);

// The verdict of a line, and of a check over its lines. Absent: a plain line, or a check with
// no line (a Normal report has no Full-only checks).
enum class CheckState : unsigned char { Absent, Passed, Failed };

// What the report learnt about a missing folder beyond its line: the text cannot tell an
// unconnected drive letter from a local drive without the folder, nor a server that does not
// answer from one that answered "not there". Unset where the report did not ask.
struct PlaceFacts {
  std::optional<bool> letterHere;      // the drive letter exists in this session
  std::optional<bool> serverAnswered;  // the folder's server answered the check

  bool operator==(const PlaceFacts&) const = default;
};

// What the writer of a report line knew about it.
struct LineRecord {
  std::optional<Check> check;  // the check the line belongs to
  CheckState verdict = CheckState::Absent;
  PlaceFacts facts;
};

}  // namespace vorlix::report
