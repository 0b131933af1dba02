#include "summary/history.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "common/text.h"
#include "platform/errors.h"
#include "report/report_json.h"
#include "summary/report_names.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;
constexpr std::uint32_t kNone = UINT32_MAX;

// "yyyymmddhhmmss" as a number, so that a year of reports is not a year of strings.
std::uint64_t OrderNumber(std::string_view order) {
  std::uint64_t number = 0;
  for (const char c : order) number = number * 10 + static_cast<std::uint64_t>(c - '0');
  return number;
}

std::uint64_t DayOf(std::uint64_t order) { return order / 1000000; }

std::string DayText(std::uint64_t day) { return std::to_string(day); }

// A report of a workstation as its name (or its content, for a name of another form) tells it.
struct Named {
  std::uint32_t key;
  std::uint64_t order;
  int copy;
  bool json;
  std::uint32_t file;    // kNone for a report read already (see `loaded`)
  std::uint32_t loaded;  // its entry among those read to learn whose they are, or kNone
};

// One report of a workstation: its files (the JSON twin first) and, once read, what it showed.
struct Instance {
  std::uint64_t order = 0;
  int copy = 1;
  std::vector<std::uint32_t> files;
  bool read = false;
  std::optional<SummaryEntry> entry;  // kept until its row or its day has it
  bool readable = false;
  bool failed = false;
  ReportTime time;
};

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
             const FoundFiles& found)
      : files_(files), options_(options), summary_(summary), found_(found) {}

  // Sorts a file in by its name; a name of another form waits for Load().
  void Add(std::size_t file) {
    const auto parsed = ParseReportName(found_.Name(file));
    const auto time = parsed ? TimeFromStamp(parsed->stamp) : std::nullopt;
    if (!time) {
      loose_.push_back(static_cast<std::uint32_t>(file));
      return;
    }
    named_.push_back({KeyIndex(KeyOf(parsed->computer, parsed->user, parsed->program)),
                      OrderNumber(time->order), parsed->copy, parsed->json,
                      static_cast<std::uint32_t>(file), kNone});
  }

  // Reads the files whose name tells nothing: only their content tells whose report it is.
  void LoadLoose() {
    for (const std::uint32_t file : loose_) {
      if (EndsWithNoCase(found_.Name(file), ".json")) {
        jsonTwins_.emplace(AsciiUpper(found_.Path(file)), file);
      }
    }
    for (const std::uint32_t file : loose_) {
      std::optional<SummaryEntry> entry = Load(file);
      if (!entry) continue;
      const Report& report = entry->report;
      if (report.computer.empty() || report.user.empty() || !report.time.Known()) {
        unnamed_.push_back(std::move(*entry));
        continue;
      }
      named_.push_back({KeyIndex(KeyOf(report.computer, report.user, report.program)),
                        OrderNumber(report.time.order), 1, false, kNone,
                        static_cast<std::uint32_t>(loaded_.size())});
      loaded_.push_back(std::move(*entry));
    }
  }

  std::size_t Read() const { return read_; }

  void Finish() {
    // Per workstation, newest first; of twins the JSON side first; of the same time and copy,
    // the report read already (its twin was found by its content).
    std::sort(named_.begin(), named_.end(), [](const Named& a, const Named& b) {
      return std::make_tuple(a.key, -static_cast<std::int64_t>(a.order), -a.copy, a.loaded == kNone,
                             !a.json,
                             a.file) < std::make_tuple(b.key, -static_cast<std::int64_t>(b.order),
                                                       -b.copy, b.loaded == kNone, !b.json, b.file);
    });
    std::uint64_t newestDay = 0;
    for (const Named& named : named_) newestDay = std::max(newestDay, DayOf(named.order));
    firstDay_ = FirstTrendDay(newestDay);

    std::vector<Row> rows;
    std::map<std::uint64_t, DayCount> days;
    for (std::size_t begin = 0; begin < named_.size();) {
      std::size_t end = begin;
      while (end < named_.size() && named_[end].key == named_[begin].key) ++end;
      std::vector<Instance> instances = InstancesOf(begin, end);
      begin = end;
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
    for (SummaryEntry& entry : unnamed_) {
      ++summary_.reports;
      Row row;
      row.state = entry.report.AnyFailed() ? RowState::Failing : RowState::Passing;
      row.since = entry.report.time;
      row.failedChecks = FailedChecks(entry.report);
      Reduce(entry, row.state == RowState::Failing);
      row.latest = std::move(entry);
      rows.push_back(std::move(row));
    }
    std::string newest;
    for (const Row& row : rows) newest = std::max(newest, row.latest.report.time.order);
    if (!options_.allReports) MarkSilent(rows, newest);
    Order(rows);
    summary_.rows = std::move(rows);
    for (auto& [day, count] : days) summary_.trend.push_back(count);
  }

 private:
  std::uint32_t KeyIndex(const std::string& key) {
    return keys_.try_emplace(key, static_cast<std::uint32_t>(keys_.size())).first->second;
  }

  // The first day of the trend: kTrendDays up to the newest.
  static std::uint64_t FirstTrendDay(std::uint64_t newestDay) {
    const std::string newest = DayText(newestDay);
    if (newest.size() != 8) return 0;
    const std::chrono::year_month_day day{
        std::chrono::year(std::stoi(newest.substr(0, 4))),
        std::chrono::month(static_cast<unsigned>(std::stoi(newest.substr(4, 2)))),
        std::chrono::day(static_cast<unsigned>(std::stoi(newest.substr(6, 2))))};
    const std::chrono::year_month_day first{std::chrono::sys_days(day) -
                                            std::chrono::days(kTrendDays - 1)};
    return static_cast<std::uint64_t>(static_cast<int>(first.year())) * 10000 +
           static_cast<unsigned>(first.month()) * 100 + static_cast<unsigned>(first.day());
  }

  // The reports of one workstation, twins as one, newest first.
  std::vector<Instance> InstancesOf(std::size_t begin, std::size_t end) {
    std::vector<Instance> instances;
    // In one step: grown a report at a time, a year's list leaves holes in the heap.
    instances.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
      const Named& named = named_[i];
      if (instances.empty() || instances.back().order != named.order ||
          instances.back().copy != named.copy) {
        Instance& added = instances.emplace_back();
        added.order = named.order;
        added.copy = named.copy;
      }
      Instance& instance = instances.back();
      if (named.loaded != kNone) {
        if (instance.read) continue;  // a second report of that moment
        instance.read = instance.readable = true;
        instance.failed = loaded_[named.loaded].report.AnyFailed();
        instance.time = loaded_[named.loaded].report.time;
        instance.entry = std::move(loaded_[named.loaded]);
      } else if (!instance.read) {
        instance.files.push_back(named.file);
      }
    }
    return instances;
  }

  // The whole file, or nothing when it is skipped (with its reason).
  std::optional<std::string> Content(std::uint32_t file) {
    ++read_;
    if (options_.progress) options_.progress(read_, found_.size());
    if (found_.Size(file) > kMaxReportBytes) {
      summary_.skipped.push_back({found_.Path(file), std::string(kTooLarge)});
      return std::nullopt;
    }
    try {
      return files_.ReadAll(found_.Path(file));
    } catch (const InOutError& error) {
      summary_.skipped.push_back(
          {found_.Path(file), SystemError("cannot be read", error.code()), true});
      return std::nullopt;
    }
  }

  // The report in a file's content, or nothing when it is none (skipped, with the reason).
  std::optional<SummaryEntry> Parse(std::uint32_t file, const std::string& content,
                                    std::optional<int> twinCodePage) {
    const std::string path = found_.Path(file);
    ReadResult result = ReadReport(path, content, twinCodePage);
    if (!result.report) {
      summary_.skipped.push_back({path, std::move(result.skipReason)});
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
    for (const std::uint32_t file : instance.files) {
      const auto content = Content(file);
      if (!content) continue;
      auto entry = Parse(file, *content, codePage);
      if (!entry) {
        if (EndsWithNoCase(found_.Name(file), ".json")) codePage = CodePageOf(*content);
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
  std::optional<SummaryEntry> Load(std::uint32_t file) {
    const auto content = Content(file);
    if (!content) return std::nullopt;
    std::optional<int> codePage;
    const std::string path = found_.Path(file);
    if (EndsWithNoCase(path, ".txt")) {
      const auto twin = jsonTwins_.find(AsciiUpper(path.substr(0, path.size() - 4) + ".json"));
      if (twin != jsonTwins_.end() && found_.Size(twin->second) <= kMaxReportBytes) {
        try {
          codePage = CodePageOf(files_.ReadAll(found_.Path(twin->second)));
        } catch (const InOutError&) {
          // the twin is listed as skipped on its own
        }
      }
    }
    return Parse(file, *content, codePage);
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
      before->entry.reset();
      if (failed && before->failed) {
        row.since = before->time;
        continue;
      }
      if (!failed && before->failed) row.state = RowState::Mended;
      break;
    }
    return row;
  }

  // The latest report of each day of the trend; a day's state is read only for the trend, and
  // days before the trend's are not read at all.
  void CountDays(std::vector<Instance>& instances, std::map<std::uint64_t, DayCount>& days) {
    std::uint64_t done = 0;
    for (Instance& instance : instances) {
      const std::uint64_t day = DayOf(instance.order);
      if (day < firstDay_) {
        summary_.trendCut = true;
        break;
      }
      if (day == done) continue;
      if (!Read(instance).readable || !instance.time.Known()) continue;
      done = day;
      DayCount& count = days[day];
      count.day = DayText(day);
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
  const FoundFiles& found_;
  std::size_t read_ = 0;
  std::uint64_t firstDay_ = 0;
  std::map<std::string, std::uint32_t> keys_;  // computer, user and program in capitals
  std::vector<Named> named_;
  std::vector<std::uint32_t> loose_;                          // files of names of other forms
  std::unordered_map<std::string, std::uint32_t> jsonTwins_;  // of those, the JSON ones
  std::vector<SummaryEntry> loaded_;   // read from loose files, with whose they are
  std::vector<SummaryEntry> unnamed_;  // read, and no one's: a row each
};

}  // namespace

std::string JoinedPath(std::string_view folder, std::string_view name) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
    return Join({folder, name});
  }
  return Join({folder, "\\", name});
}

std::uint32_t FoundFiles::AddFolder(std::string folder) {
  folders_.push_back(std::move(folder));
  return static_cast<std::uint32_t>(folders_.size() - 1);
}

void FoundFiles::Add(std::uint32_t folder, std::string_view name, std::uint64_t size) {
  if (blocks_.empty() || blocks_.back().size() + name.size() > blocks_.back().capacity()) {
    blocks_.emplace_back().reserve(std::max(kBlockBytes, name.size()));
  }
  std::string& block = blocks_.back();
  entries_.push_back({folder, static_cast<std::uint32_t>(blocks_.size() - 1),
                      static_cast<std::uint32_t>(block.size()),
                      static_cast<std::uint32_t>(name.size()), size});
  block.append(name);
}

std::string_view FoundFiles::Name(std::size_t file) const {
  const Entry& entry = entries_[file];
  return std::string_view(blocks_[entry.block]).substr(entry.offset, entry.length);
}

void FoundFiles::SortFrom(std::size_t first) {
  std::sort(entries_.begin() + static_cast<std::ptrdiff_t>(first), entries_.end(),
            [this](const Entry& a, const Entry& b) {
              const auto x = std::string_view(blocks_[a.block]).substr(a.offset, a.length);
              const auto y = std::string_view(blocks_[b.block]).substr(b.offset, b.length);
              return std::lexicographical_compare(
                  x.begin(), x.end(), y.begin(), y.end(),
                  [](char p, char q) { return AsciiUpper(p) < AsciiUpper(q); });
            });
}

void FoundFiles::Keep(const std::function<bool(std::size_t)>& keep) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (keep(i)) entries_[kept++] = entries_[i];
  }
  entries_.resize(kept);
}

std::string SystemError(std::string_view what, std::uint32_t code) {
  return std::string(what) + " (system error " + std::to_string(code) + ")";
}

void BuildRows(platform::FileSystem& files, const FoundFiles& found, const SummaryOptions& options,
               Summary& summary) {
  summary.files = found.size();
  summary.allReports = options.allReports;
  summary.silentDays = options.silentDays;
  RowBuilder builder(files, options, summary, found);
  for (std::size_t file = 0; file < found.size(); ++file) builder.Add(file);
  builder.LoadLoose();
  builder.Finish();
  summary.read = builder.Read();
}

}  // namespace vorlix::summary
