#include "drivemap/drive_map_commands.h"

#include "common/short_string.h"
#include "drivemap/drive_map_file.h"
#include "drivemap/drive_map_texts.h"
#include "drivemap/map_trust.h"
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
  return ConvertToUNC(platform, program,
                      MapChoice{DriveMapFileName(platform.files), std::nullopt, false});
}

std::optional<std::string> ConvertToUNC(platform::Platform& platform, const std::string& program,
                                        const MapChoice& map) {
  if (!platform.dialogs.Confirm(Short(texts::kAdminQuestion))) {
    platform.dialogs.Inform(Short(texts::kRestartAsAdmin));
    return std::nullopt;
  }
  const std::string& fileName = map.fileName;
  if (!platform.files.FileExists(fileName)) {
    platform.dialogs.Inform(MissingMapText(fileName));
    return std::nullopt;
  }
  // Read and judged before the report starts, so an unreadable or untrusted map touches nothing.
  platform::FileWithAccess file = ReadDriveMapFile(platform.files, fileName);
  if (const auto untrusted = WhoElseMayChange(file.access, map.owner)) {
    const std::string refusal = RefusalText(fileName, *untrusted, map.dryRun);
    if (!map.dryRun) {
      platform.dialogs.Inform(refusal);
      return std::nullopt;
    }
    platform.dialogs.Warn(refusal);
  }
  TNetworkDriveList drives;
  drives.LoadFromText(file.content);
  return report::WriteThroughTempFile(platform.files, [&](report::ReportFile& file) {
    ConvertPathsToUNC(file, program, drives, platform);
  });
}

}  // namespace vorlix::drivemap
