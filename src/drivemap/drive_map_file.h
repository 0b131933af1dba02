#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace vorlix::drivemap {

// The drive map file could not be written or read; the message says what was kept.
class DriveMapError : public OsError {
 public:
  using OsError::OsError;
};

// The executable's own path with its extension replaced by ".txt". Throws InOutError when the
// system cannot give that path.
std::string DriveMapFileName(platform::FileSystem& files);

// "File :'<file><middle><code><end>": a drive map file's error, with the system's code.
std::string DriveMapFileMessage(const std::string& fileName, std::string_view middle,
                                std::uint32_t code, std::string_view end);
// The error of a drive map file that could not be read: nothing is converted.
DriveMapError CannotReadError(const std::string& fileName, std::uint32_t code);

// The drive map file's content with its owner and access list. Throws DriveMapError.
platform::FileWithAccess ReadDriveMapFile(platform::FileSystem& files, const std::string& fileName);

// One entry of the drive map file.
struct DriveMapEntry {
  std::string localName;   // "X:" as written, either case
  std::string remoteName;  // \\server\share..., without trailing backslashes
};

// A line is "X:=\\server\share...", at most 255 characters; anything else gives the reason it
// was refused (a longer line would have come back cut, and a cut name must never be used).
std::variant<DriveMapEntry, std::string> ParseDriveMapLine(std::string_view line);

// "X:=\\server\share" and CR LF.
std::string DriveMapLine(std::string_view localName, std::string_view remoteName);

}  // namespace vorlix::drivemap
