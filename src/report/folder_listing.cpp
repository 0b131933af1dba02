#include "report/folder_listing.h"

#include "common/short_string.h"

namespace vorlix::report {

namespace {

constexpr std::string_view kAllEntries = "\\*.*";
constexpr std::string_view kPathLine = "   Path=";
constexpr std::string_view kFilesLine = "   Files:";
constexpr std::string_view kTime = "      Time=";
constexpr std::string_view kSize = " Size=";
constexpr std::string_view kAttr = " Attr=";
constexpr std::string_view kName = " Name=";

}  // namespace

std::int32_t LocalDosDateTime(platform::FileSystem& files, platform::FileTime lastWrite) {
  const auto dos = files.FileTimeToDos(files.FileTimeToLocal(lastWrite));
  if (!dos) return 0;  // outside the MS-DOS range: no time to show
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(dos->date) << 16 | dos->time);
}

void ListFolder(ReportFile& file, platform::FileSystem& files, std::string_view folder) {
  const std::string pattern = Short(std::string(folder) + std::string(kAllEntries));
  file.WriteLine(std::string(kPathLine) + pattern);
  file.WriteLine(kFilesLine);

  platform::SearchStart start = files.FindFirst(pattern);
  if (!start.search) return;
  std::string line;
  while (const std::optional<platform::DirEntry> entry = start.search->Next()) {
    line.assign(kTime);
    line += SignedText(LocalDosDateTime(files, entry->lastWrite));
    line += kSize;
    // The size as a 32-bit signed number: larger files wrap, as the listing always showed them.
    line += SignedText8(static_cast<std::int32_t>(static_cast<std::uint32_t>(entry->size)));
    line += kAttr;
    line += SignedText8(static_cast<std::int32_t>(entry->attributes));
    line += kName;
    line += Short(entry->name);
    file.WriteLine(line);
  }
}

}  // namespace vorlix::report
