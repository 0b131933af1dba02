#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace vorlix::drivemap {

// "&Store drive map...": captures the live drive connections into the drive map file beside the
// executable, asking before an existing file is overwritten. Errors propagate (DriveMapError
// says that the earlier file was kept).
void StoreDriveMap(platform::Platform& platform);
// The same with a drive map file of the caller's choice.
void StoreDriveMap(platform::Platform& platform, const std::string& fileName);

// Which drive map a conversion reads, and whom it trusts to have written it.
struct MapChoice {
  std::string fileName;
  // The security identifier of an account trusted to own and write the map besides the account
  // the program runs as, the Administrators and SYSTEM.
  std::optional<std::string> owner;
  // Nothing will be written: a map that others may change is used, with a warning.
  bool dryRun = false;
};

// "&Convert to UNC...": asks, loads the drive map file and rewrites the program's stored folders
// into UNC form. A map that others than the trusted accounts may change is not used. Returns the
// conversion report for the window, or nullopt when the window's text must stay as it is. Errors
// propagate and leave the window's text alone.
std::optional<std::string> ConvertToUNC(platform::Platform& platform, const std::string& program);
// The same with a drive map file of the caller's choice.
std::optional<std::string> ConvertToUNC(platform::Platform& platform, const std::string& program,
                                        const MapChoice& map);

}  // namespace vorlix::drivemap
