#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/network_names.h"

namespace vorlix::drivemap {

// A drive map line that gave no entry, and why.
struct SkippedLine {
  int number = 0;    // 1 for the first line of the file
  std::string text;  // as read, whole
  std::string reason;
};

// The mapped drives ("X:") and the network names they stand for, in filling order.
class TNetworkDriveList {
 public:
  const std::vector<std::string>& LocalNames() const { return localNames_; }
  const std::vector<std::string>& RemoteNames() const { return remoteNames_; }
  // Lines of the last LoadFromFile that gave no entry.
  const std::vector<SkippedLine>& SkippedLines() const { return skipped_; }

  // Clears the table and fills it from the live connections, A: to Z:.
  void ReadCurrentMappings(platform::NetworkNames& network);
  // Writes the table beside an existing file and then replaces it, so a failure keeps the old
  // file whole. Unless `replace`, an existing file is kept and false returned. Throws
  // DriveMapError.
  bool SaveToFile(platform::FileSystem& files, const std::string& fileName,
                  bool replace = true) const;
  // Clears the table and fills it from the file; lines outside the format are kept in
  // SkippedLines instead. Throws DriveMapError.
  void LoadFromFile(platform::FileSystem& files, const std::string& fileName);
  // The same from a drive map file's content, already read.
  void LoadFromText(const std::string& content);

  int IndexOfDrive(std::string_view path) const;
  bool IsMappedDrive(std::string_view path) const;
  // The path with its mapped drive replaced by the network name, or the trimmed path. Never
  // cut: the caller decides what to do with a result that is too long to store.
  std::string ToUNC(std::string_view path) const;

 private:
  void Clear();

  std::vector<std::string> localNames_;
  std::vector<std::string> remoteNames_;
  std::vector<SkippedLine> skipped_;
};

}  // namespace vorlix::drivemap
