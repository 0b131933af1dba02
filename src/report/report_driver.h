#pragma once

#include <string>

#include "platform/platform.h"
#include "report/report_file.h"

namespace vorlix::report {

// Something that writes a whole report for a program at a level.
class ReportDriver {
 public:
  virtual ~ReportDriver() = default;
  virtual void Run(ReportFile& file, const std::string& program, int level) = 0;
};

// The diagnostic report of one program: where its folders are recorded and what each of them
// allows, "Normal" (1) or "Full" (2). A failed write of the report file ends it with InOutError.
class DiagnosticReport final : public ReportDriver {
 public:
  explicit DiagnosticReport(platform::Platform& platform) : platform_(platform) {}

  void Run(ReportFile& file, const std::string& program, int level) override;

 private:
  platform::Platform& platform_;
};

}  // namespace vorlix::report
