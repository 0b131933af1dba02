#include "report/checks.h"

namespace vorlix::report {

const std::array<CheckInfo, kCheckCount> kChecks = {{
    {Check::MakerFolder, "maker-folder", "maker folder", false},
    {Check::MakerFolderSearch, "maker-folder-search", "maker folder search", false},
    {Check::ProgramFolder, "program-folder", "program folder", false},
    {Check::ProgramFiles, "program-files", "program files", false},
    {Check::IniValues, "ini-values", "ini values", false},
    {Check::LicenceSetting, "licence-setting", "licence setting", false},
    {Check::LicenceFolder, "licence-folder", "licence folder", false},
    {Check::LicenceFolderUnc, "licence-folder-unc", "licence folder as UNC", false},
    {Check::VirtualisedIni, "virtualised-ini", "virtualised ini", true},
    {Check::LicenceDrive, "licence-drive", "licence drive", false},
    {Check::LicenceDriveUnc, "licence-drive-unc", "licence drive as UNC", false},
    {Check::LicenceWriteTest, "licence-write-test", "licence folder write test", false},
    {Check::ProjectSetting, "project-setting", "project setting", false},
    {Check::ProjectFolder, "project-folder", "project folder", false},
    {Check::ProjectWriteTest, "project-write-test", "project write test", false},
    {Check::FileFormatSettings, "file-format-settings", "file format settings", true},
}};

std::optional<Check> CheckById(std::string_view id) {
  for (const CheckInfo& info : kChecks) {
    if (info.id == id) return info.check;
  }
  return std::nullopt;
}

}  // namespace vorlix::report
