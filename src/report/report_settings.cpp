#include "report/report_settings.h"

#include <memory>

#include "common/family.h"
#include "common/short_string.h"
#include "common/text.h"
#include "settings/ini_file_cache.h"
#include "settings/registry_ini_view.h"

namespace vorlix::report {

using settings::kMachineStore;
using settings::kProgramSection;
using settings::kServerStore;
using settings::kUserStore;
using settings::TIniFileCache;
using settings::TRegistryIniView;

namespace {

constexpr std::string_view kServerLabelExtension = ".ini";

}  // namespace

TReportSettings::TReportSettings(platform::Platform& platform, const std::string& programName,
                                 int mode)
    : TKxSettings(platform.dialogs, programName, mode) {
  const platform::RegistryAccess machineAccess = MachineAccess(mode);
  SetStore(kMachineStore, std::make_unique<TRegistryIniView>(
                              platform.registry, platform::RegistryRoot::LocalMachine,
                              machineAccess, std::string(family::kRegistryKey)));
  SetStore(kUserStore, std::make_unique<TRegistryIniView>(
                           platform.registry, platform::RegistryRoot::CurrentUser,
                           platform::RegistryAccess::All, std::string(family::kRegistryKey)));
  SetSectionNames(std::string(family::kName), ProgramName());
  const std::string path = ReadString(kMachineStore, kProgramSection, std::string(kAbsentPath),
                                      std::string(family::kPath));
  SetStore(kServerStore, std::make_unique<TIniFileCache>(
                             platform.profile, family::ServerIniName(path, ProgramName())));
}

std::string TReportSettings::SettingLocation(int store, int section, const std::string& ident) {
  std::string label;
  switch (store) {
    case kServerStore:
      label = Join({ProgramName(), kServerLabelExtension, " [", ProgramName(), "] ", ident});
      break;
    case kMachineStore:
      label = Join({family::kLocalMachine, "\\", family::kRegistryKey, "\\", SectionName(section),
                    "\\", ident});
      break;
    default:
      label = Join({family::kCurrentUser, "\\", family::kRegistryKey, "\\", ident});
      break;
  }
  return Short(label);
}

std::string TReportSettings::ReportSetting(ReportFile& file, int store, int section,
                                           const std::string& ident) {
  const std::string label = SettingLocation(store, section, ident);
  const std::string value = ReadString(store, section, std::string(kMissingSentinel), ident);
  const std::string shown = IsMissing(value) ? std::string(kMissingText) : value;
  WriteCheckLine(file, 1, label + "=" + shown, shown != kMissingText);
  return value;
}

}  // namespace vorlix::report
