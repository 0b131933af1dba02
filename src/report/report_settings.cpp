#include "report/report_settings.h"

#include <memory>

#include "common/short_string.h"
#include "settings/ini_file_cache.h"
#include "settings/registry_ini_view.h"

namespace vorlix::report {

using namespace settings;

namespace {

constexpr std::string_view kServerFileExtension = ".Ini";
constexpr std::string_view kServerLabelExtension = ".ini";
constexpr std::string_view kMachineLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\";
constexpr std::string_view kUserLabel = "HKEY_CURRENT_USER\\Software\\Tarnwick\\";

}  // namespace

TReportSettings::TReportSettings(platform::Platform& platform, const std::string& programName,
                                 int mode)
    : TKxSettings(platform.dialogs, programName, mode) {
  const platform::RegistryAccess machineAccess = MachineAccess(mode);
  SetStore(kMachineStore, std::make_unique<TRegistryIniView>(
                              platform.registry, platform::RegistryRoot::LocalMachine,
                              machineAccess, std::string(kFamilyRegistryKey)));
  SetStore(kUserStore, std::make_unique<TRegistryIniView>(
                           platform.registry, platform::RegistryRoot::CurrentUser,
                           platform::RegistryAccess::All, std::string(kFamilyRegistryKey)));
  SetSectionNames(std::string(kFamilySectionName), ProgramName());
  const std::string path =
      ReadString(kMachineStore, kProgramSection, std::string(kAbsentPath), std::string(kPathIdent));
  SetStore(kServerStore,
           std::make_unique<TIniFileCache>(
               platform.profile, path + "\\" + ProgramName() + std::string(kServerFileExtension)));
}

std::string TReportSettings::SettingLocation(int store, int section, const std::string& ident) {
  std::string label;
  switch (store) {
    case kServerStore:
      label =
          ProgramName() + std::string(kServerLabelExtension) + " [" + ProgramName() + "] " + ident;
      break;
    case kMachineStore:
      label = std::string(kMachineLabel) + SectionName(section) + "\\" + ident;
      break;
    default:
      label = std::string(kUserLabel) + ident;
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
