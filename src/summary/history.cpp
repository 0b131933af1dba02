#include "summary/history.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

#include "common/text.h"
#include "platform/errors.h"
#include "report/report_json.h"
#include "summary/report_names.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

// One report of a workstation: its files (the JSON twin first) and, once read, what it showed.
struct Instance {
  std::string order;  // the time's order key, then the copy number
  int copy = 1;
  std::vector<const FoundFile*> files;
  bool read = false;
  std::optional<SummaryEntry> entry;  // kept for the latest only
  bool readable = false;
  bool failed = false;
  ReportTime time;
};

bool Newer(const Instance& a, const Instance& b) {
  return std::tie(a.order, a.copy) > std::tie(b.order, b.copy);
}

std::string KeyOf(std::string_view computer, std::string_view user, std::string_view program) {
  return AsciiUpper(Join({computer, "\n", user, "\n", program}));
}

int FailedChecks(const Report& report) {
  return static_cast<int>(
      std::count(report.states.begin(), report.states.end(), CheckState::Failed));
}

// Drops a report's text where the page does not show it.
void Reduce(SummaryEntry& entry, bool keepText) {
  if (keepText) return;
  entry.report.lines.clear();
  entry.report.lines.shrink_to_fit();
}

class RowBuilder {
 public:
  RowBuilder(platform::FileSystem& files, const SummaryOptions& options, Summary& summary,
             const std::vector<FoundFile>& found)
      : files_(files), options_(options), summary_(summary), total_(found.size()) {
    for (const FoundFile& file : found) paths_.emplace(AsciiUpper(file.path), &file);
  }

  // The whole file, or nothing when it is skipped (with its reason).
  std::optional<std::string> Content(const FoundFile& file) {
    ++read_;
    if (options_.progress) options_.progress(read_, total_);
    if (file.size > kMaxReportBytes) {
      summary_.skipped.push_back({file.path, std::string(kTooLarge)});
      return std::nullopt;
    }
    try {
      return files_.ReadAll(file.path);
    } catch (const InOutError& error) {
      summary_.skipped.push_back({file.path, SystemError("cannot be read", error.code()), true});
      return std::nullopt;
    }
  }

  // The report in a file's content, or nothing when it is none (skipped, with the reason).
  std::optional<SummaryEntry> Parse(const FoundFile& file, const std::string& content,
                                    std::optional<int> twinCodePage) {
    ReadResult result = ReadReport(file.path, content, twinCodePage);
    if (!result.report) {
      summary_.skipped.push_back({file.path, std::move(result.skipReason)});
      return std::nullopt;
    }
    SummaryEntry entry{std::move(*result.report), {}};
    entry.findings = FindingsOf(entry.report);
    return entry;
  }

  // The code page a JSON file names, also when it is no whole report.
  static std::optional<int> CodePageOf(const std::string& json) {
    try {
      return report::json::Read(json).codePage;
    } catch (const report::json::FormatError&) {
      return std::nullopt;
    }
  }

  // Reads an instance once: its first file that is a report. A text read after its JSON twin
  // failed is read in the code page that the twin names.
  Instance& Read(Instance& instance) {
    if (instance.read) return instance;
    instance.read = true;
    std::optional<int> codePage;
    for (const FoundFile* file : instance.files) {
      const auto content = Content(*file);
      if (!content) continue;
      auto entry = Parse(*file, *content, codePage);
      if (!entry) {
        if (EndsWithNoCase(file->path, ".json")) codePage = CodePageOf(*content);
        continue;
      }
      instance.readable = true;
      instance.failed = entry->report.AnyFailed();
      instance.time = entry->report.time;
      instance.entry = std::move(entry);
      break;
    }
    return instance;
  }

  // A file whose name tells nothing: its JSON twin is the same name beside it.
  std::optional<SummaryEntry> Load(const FoundFile& file) {
    const auto content = Content(file);
    if (!content) return std::nullopt;
    std::optional<int> codePage;
    if (EndsWithNoCase(file.path, ".txt")) {
      const auto twin =
          paths_.find(AsciiUpper(file.path.substr(0, file.path.size() - 4) + ".json"));
      if (twin != paths_.end() && twin->second->size <= kMaxReportBytes) {
        try {
          codePage = CodePageOf(files_.ReadAll(twin->second->path));
        } catch (const InOutError&) {
          // the twin is listed as skipped on its own
        }
      }
    }
    return Parse(file, *content, codePage);
  }

  void Add(const FoundFile& file) {
    const std::string name = FileNameOf(file.path);
    const auto parsed = ParseReportName(name);
    const auto time = parsed ? TimeFromStamp(parsed->stamp) : std::nullopt;
    if (time) {
      Instance& instance = InstanceOf(KeyOf(parsed->computer, parsed->user, parsed->program),
                                      time->order, parsed->copy);
      // The JSON side of twins is read first.
      auto at = parsed->json ? instance.files.begin() : instance.files.end();
      instance.files.insert(at, &file);
      return;
    }
    // Only its content tells whose report it is.
    std::optional<SummaryEntry> entry = Load(file);
    if (!entry) return;
    const Report& report = entry->report;
    if (report.computer.empty() || report.user.empty() || !report.time.Known()) {
      loose_.push_back(std::move(*entry));
      return;
    }
    Instance& instance =
        InstanceOf(KeyOf(report.computer, report.user, report.program), report.time.order, 1);
    if (instance.read) return;  // a twin of a report read already
    instance.read = instance.readable = true;
    instance.failed = report.AnyFailed();
    instance.time = report.time;
    instance.entry = std::move(entry);
  }

  std::size_t Read() const { return read_; }

  void Finish() {
    std::vector<Row> rows;
    std::map<std::string, DayCount> days;
    std::string newest;
    for (auto& [key, instances] : keys_) {
      std::sort(instances.begin(), instances.end(), Newer);
      if (options_.allReports) {
        for (Instance& instance : instances) {
          if (Read(instance).readable) rows.push_back(RowOf(instance));
        }
      } else if (auto row = LatestRow(instances)) {
        rows.push_back(std::move(*row));
      }
      CountDays(instances, days);
      for (const Instance& instance : instances) {
        if (!instance.read || instance.readable) ++summary_.reports;
      }
    }
    for (SummaryEntry& entry : loose_) {
      ++summary_.reports;
      Row row;
      row.state = entry.report.AnyFailed() ? RowState::Failing : RowState::Passing;
      row.since = entry.report.time;
      row.failedChecks = FailedChecks(entry.report);
      Reduce(entry, row.state == RowState::Failing);
      row.latest = std::move(entry);
      rows.push_back(std::move(row));
    }
    for (const Row& row : rows) newest = std::max(newest, row.latest.report.time.order);
    if (!options_.allReports) MarkSilent(rows, newest);
    Order(rows);
    summary_.rows = std::move(rows);
    for (auto& [day, count] : days) summary_.trend.push_back(count);
  }

 private:
  Instance& InstanceOf(const std::string& key, const std::string& order, int copy) {
    auto& instances = keys_[key];
    for (Instance& instance : instances) {
      if (instance.order == order && instance.copy == copy) return instance;
    }
    Instance& added = instances.emplace_back();
    added.order = order;
    added.copy = copy;
    return added;
  }

  Row RowOf(Instance& instance) {
    Row row;
    row.state = instance.failed ? RowState::Failing : RowState::Passing;
    row.since = instance.time;
    row.failedChecks = FailedChecks(instance.entry->report);
    Reduce(*instance.entry, instance.failed);
    row.latest = std::move(*instance.entry);
    instance.entry.reset();
    return row;
  }

  // The latest readable report, and the ones before it back to the last change of state.
  std::optional<Row> LatestRow(std::vector<Instance>& instances) {
    auto latest = instances.begin();
    while (latest != instances.end() && !Read(*latest).readable) ++latest;
    if (latest == instances.end()) return std::nullopt;
    const bool failed = latest->failed;
    Row row = RowOf(*latest);
    for (auto before = latest + 1; before != instances.end(); ++before) {
      if (!Read(*before).readable) continue;
      if (failed && before->failed) {
        row.since = before->time;
        continue;
      }
      if (!failed && before->failed) row.state = RowState::Mended;
      break;
    }
    return row;
  }

  // The latest report of each day; a day's state is read only for the trend.
  void CountDays(std::vector<Instance>& instances, std::map<std::string, DayCount>& days) {
    std::string done;
    for (Instance& instance : instances) {
      const std::string day = ReportTime{{}, instance.order}.Day();
      if (day == done) continue;
      if (!Read(instance).readable || !instance.time.Known()) continue;
      done = day;
      DayCount& count = days[day];
      count.day = day;
      ++count.reported;
      if (instance.failed) ++count.failing;
      instance.entry.reset();
    }
  }

  void MarkSilent(std::vector<Row>& rows, const std::string& newest) {
    const long long limit = static_cast<long long>(options_.silentDays) * 86400;
    for (Row& row : rows) {
      const ReportTime& time = row.latest.report.time;
      if (time.Known() && SecondsBetween(time.order, newest) > limit) {
        row.state = RowState::Silent;
        row.since = time;
      }
    }
  }

  static void Order(std::vector<Row>& rows) {
    const auto rank = [](const Row& row) {
      return std::make_tuple(static_cast<int>(row.state),
                             row.state == RowState::Failing ? -row.failedChecks : 0);
    };
    const auto name = [](const Row& row) {
      std::string text = ComputerShown(row.latest.report) + "\n" + UserShown(row.latest.report) +
                         "\n" + row.latest.report.program;
      for (char& c : text) c = AsciiUpper(c);
      return text;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
      const auto ra = rank(a);
      const auto rb = rank(b);
      if (ra != rb) return ra < rb;
      return name(a) < name(b);
    });
  }

  platform::FileSystem& files_;
  const SummaryOptions& options_;
  Summary& summary_;
  std::size_t total_;
  std::size_t read_ = 0;
  std::map<std::string, const FoundFile*> paths_;  // by the path in capitals
  std::map<std::string, std::vector<Instance>> keys_;
  std::vector<SummaryEntry> loose_;
};

}  // namespace

std::string SystemError(std::string_view what, std::uint32_t code) {
  return std::string(what) + " (system error " + std::to_string(code) + ")";
}

void BuildRows(platform::FileSystem& files, const std::vector<FoundFile>& found,
               const SummaryOptions& options, Summary& summary) {
  summary.files = found.size();
  summary.allReports = options.allReports;
  summary.silentDays = options.silentDays;
  RowBuilder builder(files, options, summary, found);
  for (const FoundFile& file : found) builder.Add(file);
  builder.Finish();
  summary.read = builder.Read();
}

}  // namespace vorlix::summary
