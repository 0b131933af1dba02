#include "report/temp_report.h"

namespace vorlix::report {

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
