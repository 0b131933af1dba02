#pragma once

#include <string>

#include "drivemap/network_drive_list.h"
#include "platform/platform.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "report/report_file.h"

namespace vorlix::drivemap {

// The program's server ini file, open for one conversion.
struct IniFile {
  platform::PrivateProfile& profile;
  std::string name;
};

// "HKEY_LOCAL_MACHINE\" + the key's path + "\"; with no key open, "HKEY_LOCAL_MACHINE\\".
std::string RegistryLabel(const platform::RegistryKey* key);

// Writes label + name + "=" + value and returns the value (empty when absent or no key is
// open). A value that is not text is reported as such and read as empty, so it is left alone.
std::string ReportRegistryValue(report::ReportFile& file, platform::RegistryKey* key,
                                const std::string& name);

// Stores a text value, then reports the value as read back. A refused write gives an
// "*** Error Writing *** " line first; a value too long to hold is never cut and stored.
void WriteRegistryValue(report::ReportFile& file, platform::RegistryKey* key,
                        const std::string& name, const std::string& value);

// Writes "[section]" and key + "=" + value; returns the value, "Not found" when absent.
std::string ReportIniValue(report::ReportFile& file, IniFile& ini, const std::string& section,
                           const std::string& key);

// Stores an ini value; writes three lines only when it is refused or too long to hold.
void WriteIniValue(report::ReportFile& file, IniFile& ini, const std::string& section,
                   const std::string& key, const std::string& value);

// Writes the conversion report and rewrites the program's three stored folders that lie on a
// drive of the map into their UNC form.
void ConvertPathsToUNC(report::ReportFile& file, const std::string& program,
                       TNetworkDriveList& drives, platform::Platform& platform);

}  // namespace vorlix::drivemap
