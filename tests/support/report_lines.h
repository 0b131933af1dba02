#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "report/report_file.h"
#include "support/report_text.h"

namespace vorlix::testing {

// A report file kept apart from the file system under test, so that probes never see it.
class CapturedReport {
 public:
  explicit CapturedReport(int level) : saved_(report::ReportLevel) { report::ReportLevel = level; }
  ~CapturedReport() { report::ReportLevel = saved_; }
  CapturedReport(const CapturedReport&) = delete;
  CapturedReport& operator=(const CapturedReport&) = delete;

  report::ReportFile& file() { return file_; }
  fakes::FakeFileSystem& storage() { return storage_; }

  std::string Text() { return storage_.ReadAll(kPath); }
  // The lines written, each without its CR LF; fails the test on a line without one.
  std::vector<std::string> Lines() { return CrLfLines(Text()); }

 private:
  static constexpr const char* kPath = "R:\\Report\\report.txt";
  int saved_;
  fakes::FakeFileSystem storage_;
  report::ReportFile file_{(storage_.AddFolder("R:\\Report"), storage_.CreateText(kPath))};
};

}  // namespace vorlix::testing
