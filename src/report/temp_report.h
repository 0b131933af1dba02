#pragma once

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "report/report_file.h"

namespace vorlix::report {

// A fresh, empty file in the temporary folder, named by the system with the prefix "Kx".
std::string NewTempFileName(platform::FileSystem& files);

// Owns a file by name and deletes it when it goes out of scope (the result is ignored).
class TempFile {
 public:
  TempFile(platform::FileSystem& files, std::string path);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  platform::FileSystem& files_;
  std::string path_;
};

// Writes a report through a new temporary file and returns the text the file took, byte for byte.
// The file is closed and deleted in every case, also when the body throws.
std::string WriteThroughTempFile(platform::FileSystem& files,
                                 const std::function<void(ReportFile&)>& body);

// Something that writes a whole report for a program at a level.
class ReportDriver {
 public:
  virtual ~ReportDriver() = default;
  virtual void Run(ReportFile& file, const std::string& program, int level) = 0;
};

}  // namespace vorlix::report
