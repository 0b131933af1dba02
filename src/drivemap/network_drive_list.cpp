#include "drivemap/network_drive_list.h"

#include <algorithm>
#include <variant>

#include "common/files.h"
#include "common/short_string.h"
#include "common/text.h"
#include "drivemap/drive_map_file.h"
#include "drivemap/drive_map_texts.h"
#include "platform/text_lines.h"

namespace vorlix::drivemap {

namespace {

constexpr std::string_view kDriveLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::size_t kDriveLength = 2;

// Only the space counts as a blank; trailing backslashes go after the trailing spaces.
std::string_view Trimmed(std::string_view path) {
  while (!path.empty() && path.front() == ' ') path.remove_prefix(1);
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
  return TrimTrailingBackslashes(path);
}

int IndexOf(const std::vector<std::string>& names, const std::string& key) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == key) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

void TNetworkDriveList::Clear() {
  localNames_.clear();
  remoteNames_.clear();
  skipped_.clear();
}

void TNetworkDriveList::ReadCurrentMappings(platform::NetworkNames& network) {
  Clear();
  for (const char letter : kDriveLetters) {
    const std::string localName{letter, ':'};
    if (auto remote = network.Connection(localName)) {
      localNames_.push_back(localName);
      remoteNames_.push_back(Short(*remote));
    }
  }
}

bool TNetworkDriveList::SaveToFile(platform::FileSystem& files, const std::string& fileName,
                                   bool replace) const {
  std::string content;
  for (std::size_t i = 0; i < localNames_.size(); ++i) {
    content += DriveMapLine(localNames_[i], remoteNames_[i]);
  }
  try {
    // A new file of its own beside the map, then one replace: two saves at the same moment
    // leave one whole map, and a failed one leaves the earlier map as it was.
    // Only its owner, the Administrators and SYSTEM may change it, wherever it lies: an elevated
    // run trusts nothing else.
    if (!replace) return SaveNewFile(files, fileName, content, Protection::Private);
    SaveFileSafely(files, fileName, content, Protection::Private);
    return true;
  } catch (const OsError& error) {
    throw DriveMapError(
        DriveMapFileMessage(fileName, texts::kNotCreated, error.code(), texts::kNothingChanged),
        error.code());
  }
}

void TNetworkDriveList::LoadFromFile(platform::FileSystem& files, const std::string& fileName) {
  Clear();
  std::string content;
  try {
    content = files.ReadAll(fileName);
  } catch (const OsError& error) {
    throw CannotReadError(fileName, error.code());
  }
  LoadFromText(content);
}

void TNetworkDriveList::LoadFromText(const std::string& content) {
  Clear();
  platform::TextLines reader(content);
  int number = 0;
  while (auto line = reader.ReadLine()) {
    ++number;
    auto parsed = ParseDriveMapLine(*line);
    if (auto* entry = std::get_if<DriveMapEntry>(&parsed)) {
      localNames_.push_back(std::move(entry->localName));
      remoteNames_.push_back(std::move(entry->remoteName));
    } else {
      skipped_.push_back({number, std::move(*line), std::get<std::string>(std::move(parsed))});
    }
  }
}

int TNetworkDriveList::IndexOfDrive(std::string_view path) const {
  const std::string_view trimmed = Trimmed(path);
  const std::string_view key =
      trimmed.size() > kDriveLength ? trimmed.substr(0, kDriveLength) : trimmed;
  const int upper = IndexOf(localNames_, AsciiUpper(key));
  return upper >= 0 ? upper : IndexOf(localNames_, AsciiLower(key));
}

bool TNetworkDriveList::IsMappedDrive(std::string_view path) const {
  return IndexOfDrive(path) >= 0;
}

std::string TNetworkDriveList::ToUNC(std::string_view path) const {
  const std::string_view trimmed = Trimmed(path);
  const int index = IndexOfDrive(trimmed);
  if (index < 0) return std::string(trimmed);
  std::string_view rest = trimmed.substr(std::min(kDriveLength, trimmed.size()));
  while (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  return remoteNames_[static_cast<std::size_t>(index)] + "\\" + std::string(rest);
}

}  // namespace vorlix::drivemap
