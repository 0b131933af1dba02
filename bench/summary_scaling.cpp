// How the summary's time and memory grow with the history a collecting share holds, natively and
// without a disk: summary_scaling STATIONS DAYS. A file system of its own lists one folder of
// STATIONS x DAYS daily reports and gives each file one of
// three reports that the real driver wrote over a fake machine (passing; the licence drive lost
// on the last three days by 7 of 100 workstations; the project folder missing the day before
// the last for 4 of 100). Prints the files, the files read, the seconds and the peak resident
// memory; the figures per file should stay flat from 10 days to a year.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "summary/summary.h"
#include "summary/summary_page.h"
#include "unit/summary_states.h"

namespace {

namespace platform = vorlix::platform;
using vorlix::testing::InstalledMachine;

std::string Text(const vorlix::testing::Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

class Listing final : public platform::DirectorySearch {
 public:
  Listing(const std::vector<std::string>& names, std::size_t bytes)
      : names_(names), bytes_(bytes) {}
  std::optional<platform::DirEntry> Next() override {
    if (at_ == names_.size()) return std::nullopt;
    platform::DirEntry entry;
    entry.name = names_[at_++];
    entry.attributes = platform::kAttrArchive;
    entry.size = bytes_;
    return entry;
  }

 private:
  const std::vector<std::string>& names_;
  std::size_t bytes_;
  std::size_t at_ = 0;
};

// One folder, R:\Share, of generated names; a file's content follows from its name.
class Share final : public platform::FileSystem {
 public:
  Share(int stations, int days) : stations_(stations), days_(days) {
    InstalledMachine clean;
    vorlix::testing::AllPassing(clean);
    passing_ = Text(clean.Report(2));
    InstalledMachine unconnected;
    vorlix::testing::LicenceOnUnconnectedDrive(unconnected);
    licence_ = Text(unconnected.Report(2));
    InstalledMachine readOnly;
    vorlix::testing::ReadOnlyLicenceFolder(readOnly);
    project_ = Text(readOnly.Report(2));
    for (int station = 0; station < stations; ++station) {
      for (int day = 0; day < days; ++day) names_.push_back(Name(station, day) + ".txt");
    }
  }

  platform::PathAttributes Attributes(const std::string& path) override {
    if (path == "R:\\Share") return {platform::kAttrDirectory, 0};
    return {0, 2};
  }
  platform::SearchStart FindFirst(const std::string& pattern) override {
    if (pattern != "R:\\Share\\*.*") return {nullptr, 3};
    return {std::make_unique<Listing>(names_, passing_.size()), 0};
  }
  std::string ReadAll(const std::string& path) override {
    const std::size_t at = path.find("WS-") + 3;
    const int station = std::atoi(path.c_str() + at);
    const int day = Day(path.substr(path.size() - 19, 8));
    const int kind = station % 100;
    if (kind >= 93 && day >= days_ - 3) return licence_;
    if (kind >= 89 && kind < 93 && day == days_ - 2) return project_;
    return passing_;
  }
  std::optional<platform::DosDateTime> FileTimeToDos(platform::FileTime) override { return {}; }
  platform::FileTime FileTimeToLocal(platform::FileTime time) override { return time; }
  std::unique_ptr<platform::TextWriter> CreateText(const std::string&) override { throw 0; }
  std::unique_ptr<platform::TextWriter> CreateScratchText(const std::string&) override { throw 0; }
  std::unique_ptr<platform::TextReader> OpenText(const std::string&) override { throw 0; }
  platform::FileWithAccess ReadWithAccess(const std::string&) override { throw 0; }
  void MakePrivate(const std::string&) override { throw 0; }
  std::optional<std::string> AccountSid(const std::string&) override { return {}; }
  bool Delete(const std::string&) override { return false; }
  void Replace(const std::string&, const std::string&) override {}
  bool MoveToNewName(const std::string&, const std::string&) override { return false; }
  std::string TempFolder() override { return "T:\\"; }
  std::string CreateTempFile(const std::string&, const std::string&) override { throw 0; }
  std::string FullPath(const std::string& path) override { return path; }
  std::string ExecutablePath() override { return "T:\\bench.exe"; }

 private:
  // Day 0 is the first; the last is 9 December 2026.
  std::string Stamp(int day) const {
    const auto date = std::chrono::year_month_day{
        std::chrono::sys_days(std::chrono::year_month_day{
            std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}) -
        std::chrono::days(days_ - 1 - day)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
  }
  int Day(const std::string& stamp) const {
    for (int day = days_ - 1; day >= 0; --day) {
      if (Stamp(day) == stamp) return day;
    }
    return 0;
  }
  std::string Name(int station, int day) const {
    char name[96];
    std::snprintf(name, sizeof name, "WS-%04d_user%04d_Ostrelan_%s-08%02d%02d", station, station,
                  Stamp(day).c_str(), station % 60, station / 60 % 60);
    return name;
  }

  int stations_;
  int days_;
  std::vector<std::string> names_;
  std::string passing_, licence_, project_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: summary_scaling STATIONS DAYS\n");
    return 2;
  }
  Share share(std::atoi(argv[1]), std::atoi(argv[2]));
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  const auto summary = vorlix::summary::Summarise(share, {"R:\\Share"}, {});
  const std::size_t page = vorlix::summary::SummaryPage(summary).size();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  std::printf(
      "files=%zu read=%zu rows=%zu trend_days=%zu seconds=%.2f us_per_file=%.1f "
      "peak_rss_mb=%.1f (before %.1f) page_mb=%.2f\n",
      summary.files, summary.read, summary.rows.size(), summary.trend.size(), seconds,
      seconds * 1e6 / static_cast<double>(summary.files), after.ru_maxrss / 1024.0,
      before.ru_maxrss / 1024.0, static_cast<double>(page) / 1048576.0);
  return 0;
}
