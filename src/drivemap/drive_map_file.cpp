#include "drivemap/drive_map_file.h"

#include "common/place.h"
#include "common/short_string.h"
#include "common/text.h"
#include "drivemap/drive_map_texts.h"

namespace vorlix::drivemap {

namespace {

constexpr std::string_view kMapExtension = ".txt";
constexpr std::size_t kShortestLine = 4;  // "X:=" and at least one character

bool IsBlank(std::string_view line) {
  for (const char c : line) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

}  // namespace

std::string DriveMapFileName(platform::FileSystem& files) {
  const std::string exe = files.ExecutablePath();
  const std::size_t last = exe.find_last_of(".\\/:");
  const std::size_t stem = (last != std::string::npos && exe[last] == '.') ? last : exe.size();
  return exe.substr(0, stem) + std::string(kMapExtension);
}

std::string DriveMapFileMessage(const std::string& fileName, std::string_view middle,
                                std::uint32_t code, std::string_view end) {
  return Join({texts::kFilePrefix, fileName, middle, std::to_string(code), end});
}

DriveMapError CannotReadError(const std::string& fileName, std::uint32_t code) {
  return DriveMapError(
      DriveMapFileMessage(fileName, texts::kCannotBeRead, code, texts::kNothingConverted), code);
}

platform::FileWithAccess ReadDriveMapFile(platform::FileSystem& files,
                                          const std::string& fileName) {
  try {
    return files.ReadWithAccess(fileName);
  } catch (const OsError& error) {
    throw CannotReadError(fileName, error.code());
  }
}

std::variant<DriveMapEntry, std::string> ParseDriveMapLine(std::string_view line) {
  if (IsBlank(line)) return std::string(texts::kReasonBlank);
  if (!FitsShort(line)) return std::string(texts::kReasonTooLong);
  if (line.size() < kShortestLine) return std::string(texts::kReasonTooShort);
  if (!IsAsciiLetter(line[0]) || line[1] != ':') return std::string(texts::kReasonNoDrive);
  if (line[2] != '=') return std::string(texts::kReasonNoSeparator);
  const std::string_view remote = TrimTrailingBackslashes(line.substr(3));
  if (PlaceOf(remote).kind != Place::Kind::Share) return std::string(texts::kReasonNotUnc);
  return DriveMapEntry{std::string(line.substr(0, 2)), std::string(remote)};
}

std::string DriveMapLine(std::string_view localName, std::string_view remoteName) {
  std::string line;
  line.reserve(localName.size() + remoteName.size() + 3);
  line.append(localName).append("=").append(remoteName).append("\r\n");
  return line;
}

}  // namespace vorlix::drivemap
