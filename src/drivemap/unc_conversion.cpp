#include "drivemap/unc_conversion.h"

#include <optional>

#include "common/family.h"
#include "common/short_string.h"
#include "common/text.h"
#include "drivemap/drive_map_texts.h"
#include "platform/errors.h"

namespace vorlix::drivemap {

namespace {

// The text of a value: empty when absent, nullopt when it is not of a text type.
std::optional<std::string> ReadText(platform::RegistryKey* key, const std::string& name) {
  if (!key) return std::string();
  const auto value = key->ReadValue(name);
  if (!value) return std::string();
  if (value->type != platform::kRegString && value->type != platform::kRegExpandString) {
    return std::nullopt;
  }
  const std::size_t end = value->data.find('\0');
  return value->data.substr(0, end);
}

bool TryWrite(platform::RegistryKey* key, const std::string& name, const std::string& value) {
  if (!key) return false;
  try {
    key->WriteString(name, value);
    return true;
  } catch (const OsError&) {
    return false;
  }
}

void WriteIniLines(report::ReportFile& file, std::string_view first, const std::string& section,
                   const std::string& key, const std::string& value) {
  file.WriteLine(first);
  file.WriteLine(Join({"[", section, "]"}));
  file.WriteLine(Join({key, "=", Short(value)}));
}

void WriteDriveMaps(report::ReportFile& file, const TNetworkDriveList& drives) {
  for (std::size_t i = 0; i < drives.LocalNames().size(); ++i) {
    file.WriteLine(Join({drives.LocalNames()[i], "=", drives.RemoteNames()[i]}));
  }
  for (const auto& skipped : drives.SkippedLines()) {
    file.WriteLine(
        Join({texts::kSkippedLinePrefix, std::to_string(skipped.number), texts::kSkippedOpen,
              skipped.reason, texts::kSkippedClose, Short(skipped.text), texts::kSkippedEnd}));
  }
}

// Reports a registry value and rewrites it when it lies on a mapped drive; returns it as read.
std::string ConvertRegistryValue(report::ReportFile& file, platform::Registry& registry,
                                 const TNetworkDriveList& drives, const std::string& keyPath,
                                 const std::string& name) {
  auto key = registry
                 .OpenKey(platform::RegistryRoot::LocalMachine, keyPath,
                          platform::RegistryAccess::All, false)
                 .key;
  const std::string value = ReportRegistryValue(file, key.get(), name);
  if (drives.IsMappedDrive(value)) WriteRegistryValue(file, key.get(), name, drives.ToUNC(value));
  return value;
}

void ConvertIniValue(report::ReportFile& file, platform::Platform& platform,
                     const TNetworkDriveList& drives, const std::string& program,
                     const std::string& programPath) {
  const std::string iniName = drives.ToUNC(family::ServerIniName(programPath, program));
  file.WriteLine(Join({program, family::kServerIniExtension, texts::kIniLineGap, Short(iniName)}));
  if (!platform.files.FileExists(iniName)) {
    file.WriteLine(texts::kFileMissing);
    return;
  }
  IniFile ini{platform.profile, iniName};
  const std::string key(family::kLicenseFolder);
  const std::string value = ReportIniValue(file, ini, program, key);
  if (drives.IsMappedDrive(value)) {
    WriteIniValue(file, ini, program, key, drives.ToUNC(value));
    ReportIniValue(file, ini, program, key);
  }
}

}  // namespace

std::string RegistryLabel(const platform::RegistryKey* key) {
  return Join({family::kLocalMachine, "\\", key ? key->Path() : std::string(), "\\"});
}

std::string ReportRegistryValue(report::ReportFile& file, platform::RegistryKey* key,
                                const std::string& name) {
  const auto value = ReadText(key, name);
  if (!value) {
    file.WriteLine(Join({texts::kNotTextLeftAlone, RegistryLabel(key), name}));
    return std::string();
  }
  file.WriteLine(Join({RegistryLabel(key), name, "=", Short(*value)}));
  return *value;
}

void WriteRegistryValue(report::ReportFile& file, platform::RegistryKey* key,
                        const std::string& name, const std::string& value) {
  if (!FitsShort(value)) {
    file.WriteLine(Join({texts::kTooLongNotWritten, RegistryLabel(key), name, "=", Short(value)}));
  } else if (!TryWrite(key, name, value)) {
    file.WriteLine(Join({texts::kErrorWriting, RegistryLabel(key), name, "=", value}));
  }
  ReportRegistryValue(file, key, name);
}

std::string ReportIniValue(report::ReportFile& file, IniFile& ini, const std::string& section,
                           const std::string& key) {
  const std::string value =
      ini.profile.ReadString(ini.name, section, key, std::string(texts::kIniNotFound));
  file.WriteLine(Join({"[", section, "]"}));
  file.WriteLine(Join({key, "=", Short(value)}));
  return value;
}

void WriteIniValue(report::ReportFile& file, IniFile& ini, const std::string& section,
                   const std::string& key, const std::string& value) {
  if (!FitsShort(value)) {
    WriteIniLines(file, texts::kTooLongNotWritten, section, key, value);
    return;
  }
  try {
    ini.profile.WriteString(ini.name, section, key, value);
  } catch (const OsError&) {
    WriteIniLines(file, texts::kErrorWriting, section, key, value);
  }
}

void ConvertPathsToUNC(report::ReportFile& file, const std::string& program,
                       TNetworkDriveList& drives, platform::Platform& platform) {
  report::WriteProgramHeading(file, platform.clock, program);
  file.WriteLine(texts::kConvertingTitle);
  file.WriteLine("");
  file.WriteLine(texts::kDriveMapsTitle);
  file.WriteLine("");
  WriteDriveMaps(file, drives);
  file.WriteLine("");
  file.WriteLine("");

  ConvertRegistryValue(file, platform.registry, drives, family::ProgramKey(family::kName),
                       std::string(family::kTarnwickPath));
  file.WriteLine("");
  const std::string programPath = ConvertRegistryValue(
      file, platform.registry, drives, family::ProgramKey(program), std::string(family::kPath));
  file.WriteLine("");
  ConvertIniValue(file, platform, drives, program, programPath);
}

}  // namespace vorlix::drivemap
