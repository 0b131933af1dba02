#include "drivemap/drive_map_commands.h"

#include "common/short_string.h"
#include "drivemap/drive_map_file.h"
#include "drivemap/drive_map_texts.h"
#include "drivemap/network_drive_list.h"
#include "drivemap/unc_conversion.h"
#include "report/temp_report.h"

namespace vorlix::drivemap {

namespace {

std::string AboutFile(const std::string& fileName, std::string_view verdict) {
  return Short(std::string(texts::kFilePrefix) + fileName + std::string(verdict));
}

std::string MissingMapText(const std::string& fileName) {
  return Short(std::string(texts::kFilePrefix) + fileName + std::string(texts::kIsMissing) +
               "\r\n\r\n" + std::string(texts::kMissingAdvice));
}

}  // namespace

void StoreDriveMap(platform::Platform& platform) {
  StoreDriveMap(platform, DriveMapFileName(platform.files));
}

void StoreDriveMap(platform::Platform& platform, const std::string& fileName) {
  TNetworkDriveList drives;
  drives.ReadCurrentMappings(platform.network);
  const auto overwrite = [&] {
    return platform.dialogs.Confirm(AboutFile(fileName, texts::kExistsOverwrite));
  };
  const bool exists = platform.files.FileExists(fileName);
  if (exists && !overwrite()) return;
  // A map that another run made since the check is not replaced unasked.
  if (!drives.SaveToFile(platform.files, fileName, exists)) {
    if (!overwrite()) return;
    drives.SaveToFile(platform.files, fileName);
  }
  platform.dialogs.Inform(AboutFile(fileName, texts::kCreated));
}

std::optional<std::string> ConvertToUNC(platform::Platform& platform, const std::string& program) {
  return ConvertToUNC(platform, program, DriveMapFileName(platform.files));
}

std::optional<std::string> ConvertToUNC(platform::Platform& platform, const std::string& program,
                                        const std::string& fileName) {
  if (!platform.dialogs.Confirm(Short(texts::kAdminQuestion))) {
    platform.dialogs.Inform(Short(texts::kRestartAsAdmin));
    return std::nullopt;
  }
  TNetworkDriveList drives;
  if (!platform.files.FileExists(fileName)) {
    platform.dialogs.Inform(MissingMapText(fileName));
    return std::nullopt;
  }
  // Loaded before the report starts, so an unreadable map touches nothing.
  drives.LoadFromFile(platform.files, fileName);
  return report::WriteThroughTempFile(platform.files, [&](report::ReportFile& file) {
    ConvertPathsToUNC(file, program, drives, platform);
  });
}

}  // namespace vorlix::drivemap
