#include "report/probes.h"

#include "common/short_string.h"
#include "common/text.h"
#include "report/report_texts.h"

namespace vorlix::report {

namespace {

using texts::kFound;
using texts::kIsMissing;
using texts::kSearchFailed;
using texts::kTopmostHint;

constexpr std::string_view kSearchSuccessful = " ...search succesful";  // spelling kept
constexpr std::string_view kCreationTime = "CreationTime=";
constexpr std::string_view kFatDateTime = "FatDateTime=";
constexpr std::string_view kConversionFailed = "FileTimeToDosDateTime ...has failed";

constexpr std::uint32_t kSkippedAttributes =
    platform::kAttrHidden | platform::kAttrSystem | platform::kAttrVolumeLabel;

}  // namespace

EntrySearch FindPlainEntry(platform::FileSystem& files, const std::string& pattern) {
  platform::SearchStart start = files.FindFirst(pattern);
  if (!start.search) return {start.error, std::nullopt};
  while (std::optional<platform::DirEntry> entry = start.search->Next()) {
    if ((entry->attributes & kSkippedAttributes) == 0) return {0, std::move(entry)};
  }
  return {start.search->EndError(), std::nullopt};
}

void PathProbes::WriteFound(std::string_view path, bool found) {
  WriteCheckLine(file_, 1, Join({path, found ? kFound : kIsMissing}), found);
}

std::optional<std::uint32_t> PathProbes::CheckFolder(std::string_view path) {
  const platform::PathAttributes found = files_.Attributes(std::string(path));
  const bool folder = found.error == 0 && (found.attributes & platform::kAttrDirectory) != 0;
  WriteFound(path, folder);
  if (folder) return std::nullopt;
  return found.error;
}

bool PathProbes::CheckFile(std::string_view path) {
  const bool found = files_.FileExists(std::string(path));
  WriteFound(path, found);
  return found;
}

void PathProbes::SearchEntry(std::string_view path) {
  const EntrySearch found = FindPlainEntry(files_, std::string(path));
  if (!found.entry) {
    const std::string code = SignedText(static_cast<std::int32_t>(found.result));
    WriteCheckLine(file_, 1, Join({path, kSearchFailed, code, kTopmostHint}), false);
    return;
  }
  WriteCheckLine(file_, 1, Join({path, kSearchSuccessful}), true);
  const platform::FileTime created = found.entry->creation;
  if (const auto dos = files_.FileTimeToDos(created)) {
    WriteCheckLine(
        file_, 2, Join({kCreationTime, UnsignedText(created.low), ":", UnsignedText(created.high)}),
        true);
    WriteCheckLine(file_, 2,
                   Join({kFatDateTime, UnsignedText(dos->time), ":", UnsignedText(dos->date)}),
                   true);
  } else {
    WriteCheckLine(file_, 2, kConversionFailed, false);
  }
}

void PathProbes::CompareDrives(std::string_view first, std::string_view second) {
  const std::string a = PathDrive(first);
  const std::string b = PathDrive(second);
  const bool same = a == b;
  WriteCheckLine(file_, 1,
                 Join({texts::kDriveOpen, a, same ? texts::kSameDrive : texts::kOtherDrive, b,
                       texts::kDriveClose}),
                 same);
}

std::string FileNameFromParts(std::string_view folder, std::string_view name,
                              std::string_view extension) {
  return Short(Join({folder, "\\", name, ".", extension}));
}

}  // namespace vorlix::report
