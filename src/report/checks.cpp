#include "report/checks.h"

namespace vorlix::report {

const std::array<CheckInfo, kCheckCount> kChecks = {{
    {Check::MakerFolder, "maker-folder", "maker folder"},
    {Check::MakerFolderSearch, "maker-folder-search", "maker folder search"},
    {Check::ProgramFolder, "program-folder", "program folder"},
    {Check::ProgramFiles, "program-files", "program files"},
    {Check::IniValues, "ini-values", "ini values"},
    {Check::LicenceSetting, "licence-setting", "licence setting"},
    {Check::LicenceFolder, "licence-folder", "licence folder"},
    {Check::LicenceFolderUnc, "licence-folder-unc", "licence folder as UNC"},
    {Check::VirtualisedIni, "virtualised-ini", "virtualised ini"},
    {Check::LicenceDrive, "licence-drive", "licence drive"},
    {Check::LicenceDriveUnc, "licence-drive-unc", "licence drive as UNC"},
    {Check::LicenceWriteTest, "licence-write-test", "licence folder write test"},
    {Check::ProjectSetting, "project-setting", "project setting"},
    {Check::ProjectFolder, "project-folder", "project folder"},
    {Check::ProjectWriteTest, "project-write-test", "project write test"},
    {Check::FileFormatSettings, "file-format-settings", "file format settings"},
}};

std::optional<Check> CheckById(std::string_view id) {
  for (const CheckInfo& info : kChecks) {
    if (info.id == id) return info.check;
  }
  return std::nullopt;
}

}  // namespace vorlix::report
