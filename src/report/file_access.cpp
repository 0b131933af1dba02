#include "report/file_access.h"

#include <array>
#include <string_view>

#include "common/files.h"
#include "common/short_string.h"
#include "platform/errors.h"
#include "report/report_texts.h"

namespace vorlix::report {

namespace {

using texts::kContentsCorrect;
using texts::kContentsError;
using texts::kCreationFailed;
using texts::kCreationSuccessful;
using texts::kDeleting;
using texts::kDeletionFailed;
using texts::kDeletionSuccessful;
using texts::kIsDeleted;
using texts::kIsNotDeleted;
using texts::kReadingBack;
using texts::kReadSuccessful;

constexpr std::array<std::string_view, 3> kTestLines = {
    "1 A temporary text file line 1",
    "2 A temporary text file line 2",
    "3 A temporary text file line 3",
};
constexpr std::string_view kLineEnd = "\r\n";

// Writes the three lines. A file the test opened but could not fill is removed again, so a
// failed creation leaves no half-written file behind; the report does not mention it.
bool CreateTestFile(platform::FileSystem& files, const std::string& path) {
  bool opened = false;
  try {
    std::unique_ptr<platform::TextWriter> writer = files.CreateText(path);
    opened = true;
    for (std::string_view line : kTestLines) {
      writer->Write(line);
      writer->Write(kLineEnd);
    }
    writer->Close();
    return true;
  } catch (const InOutError&) {
    if (opened) files.Delete(path);
    return false;
  } catch (...) {
    // Whatever else stopped the write (a cancelled command), the file it began goes.
    if (opened) files.Delete(path);
    throw;
  }
}

// Each line read back must start with its own number; nothing else is compared.
bool ContentsCorrect(const std::array<std::string, 3>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty() || lines[i].front() != kTestLines[i].front()) return false;
  }
  return true;
}

void ReadBack(ReportFile& file, platform::FileSystem& files, const std::string& path) {
  std::array<std::string, 3> lines;
  try {
    std::unique_ptr<platform::TextReader> reader = files.OpenText(path);
    // A line missing at the end of the file reads as empty.
    for (std::string& line : lines) line = Short(reader->ReadLine().value_or(std::string()));
  } catch (const InOutError&) {
    WriteCheckLine(file, 1, kReadingFileFailed, false);
    return;
  }
  WriteCheckLine(file, 1, kReadSuccessful, true);
  const bool correct = ContentsCorrect(lines);
  WriteCheckLine(file, 1, correct ? kContentsCorrect : kContentsError, correct);
}

}  // namespace

void TestFileAccess(ReportFile& file, platform::FileSystem& files, const std::string& path) {
  const bool created = CreateTestFile(files, path);
  // Removes the test file when the report is cut short (a failed report write) before the
  // deletion step, so that no test file is left in a shared folder.
  TempFile cleanup(files, path);
  if (!created) cleanup.Keep();
  WriteCheckLine(file, 1, created ? kCreationSuccessful : kCreationFailed, created);
  if (!created) return;

  file.WriteTitle(kReadingBack);
  ReadBack(file, files, path);

  file.WriteTitle(kDeleting);
  cleanup.Keep();
  const bool deleted = files.Delete(path);
  WriteCheckLine(file, 1, deleted ? kDeletionSuccessful : kDeletionFailed, deleted);
  const bool remains = files.FileExists(path);
  WriteCheckLine(file, 1, path + std::string(remains ? kIsNotDeleted : kIsDeleted), !remains);
}

}  // namespace vorlix::report
