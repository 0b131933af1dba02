#include "report/temp_report.h"

#include <utility>

#include "platform/short_string.h"

namespace vorlix::report {

std::string NewTempFileName(platform::FileSystem& files) {
  return Short(files.CreateTempFile(Short(files.TempFolder()), "Kx"));
}

TempFile::TempFile(platform::FileSystem& files, std::string path)
    : files_(files), path_(std::move(path)) {}

TempFile::~TempFile() { files_.Delete(path_); }

std::string WriteThroughTempFile(platform::FileSystem& files,
                                 const std::function<void(ReportFile&)>& body) {
  TempFile temp(files, NewTempFileName(files));
  {
    ReportFile report(files.CreateText(temp.path()));
    body(report);
    report.Close();
  }
  return files.ReadAll(temp.path());
}

}  // namespace vorlix::report
