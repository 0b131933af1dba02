#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "report/report_file.h"

namespace vorlix::report {

// The one entry a search for a path yields after the attribute filter, or the system's code.
struct EntrySearch {
  std::uint32_t result = 0;  // 0 when an entry was found
  std::optional<platform::DirEntry> entry;
};

// Searches for the pattern, skipping hidden, system and volume-label entries; when every entry is
// skipped the result is the code that ended the search.
EntrySearch FindPlainEntry(platform::FileSystem& files, const std::string& pattern);

// The checks run on every location the report has read. Each writes check lines only; none
// raises an error except a failed write of the report file.
class PathProbes {
 public:
  PathProbes(ReportFile& file, platform::FileSystem& files) : file_(file), files_(files) {}

  // Returns nullopt when the folder was found, else the system's code (0: a file stands there).
  std::optional<std::uint32_t> CheckFolder(std::string_view path);
  // A folder does not count as a file. Returns what it found, so that no caller asks again.
  bool CheckFile(std::string_view path);
  // Looks for the directory entry of the path itself; in Full reports also its time stamps.
  void SearchEntry(std::string_view path);
  // Compares the drives (or servers) the two paths lie on.
  void CompareDrives(std::string_view first, std::string_view second);

 private:
  void WriteFound(std::string_view path, bool found);

  ReportFile& file_;
  platform::FileSystem& files_;
};

// folder + "\" + name + "." + extension, with no check of the backslashes.
std::string FileNameFromParts(std::string_view folder, std::string_view name,
                              std::string_view extension);

}  // namespace vorlix::report
