#include "report/temp_report.h"

#include <memory>
#include <string_view>
#include <utility>

namespace vorlix::report {

namespace {

// Hands every write on to the file and keeps the same bytes once the file has taken them, so
// that the text shown is what the file received, without reading a large report back.
class KeepingWriter final : public platform::TextWriter {
 public:
  KeepingWriter(std::unique_ptr<platform::TextWriter> file, std::string& kept)
      : file_(std::move(file)), kept_(kept) {}

  void Write(std::string_view bytes) override {
    file_->Write(bytes);
    kept_.append(bytes);
  }
  void Close() override { file_->Close(); }

 private:
  std::unique_ptr<platform::TextWriter> file_;
  std::string& kept_;
};

}  // namespace

WrittenReport WriteReportThroughTempFile(platform::FileSystem& files,
                                         const std::function<void(ReportFile&)>& body) {
  TempFile temp(files, NewTempFileName(files));
  WrittenReport written;
  {
    // A scratch file: gone with the program even when a call that never returns holds it.
    ReportFile report(
        std::make_unique<KeepingWriter>(files.CreateScratchText(temp.path()), written.text));
    body(report);
    report.Close();
    written.lines = report.TakeRecords();
  }
  return written;
}

std::string WriteThroughTempFile(platform::FileSystem& files,
                                 const std::function<void(ReportFile&)>& body) {
  return WriteReportThroughTempFile(files, body).text;
}

}  // namespace vorlix::report
