#include "summary/summary.h"

#include <algorithm>
#include <array>
#include <set>

#include "platform/errors.h"
#include "summary/history.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

std::string Joined(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
}

constexpr std::uint32_t kFileNotFound = 2;  // the system's code for a pattern that matches nothing

// The entries a search yields, in name order. A search that cannot start, other than one that
// finds nothing in a folder that is there, or that ends early, is kept as unreadable.
std::vector<platform::DirEntry> Entries(platform::FileSystem& files, const std::string& folder,
                                        const std::string& pattern,
                                        std::vector<SkippedFile>& skipped) {
  std::vector<platform::DirEntry> entries;
  auto start = files.FindFirst(Joined(folder, pattern));
  if (!start.search) {
    if (start.error != kFileNotFound || !files.FolderExists(folder)) {
      skipped.push_back(
          {Joined(folder, pattern), SystemError("cannot be listed", start.error), true});
    }
    return entries;
  }
  while (auto entry = start.search->Next()) entries.push_back(std::move(*entry));
  if (start.search->EndError() != platform::DirectorySearch::kNoMoreFiles) {
    skipped.push_back({Joined(folder, pattern),
                       SystemError("cannot be listed to its end", start.search->EndError()), true});
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return LessNoCase(a.name, b.name); });
  return entries;
}

// The files a pattern matches in name order, then, when recursing, those that it matches in
// the subfolders. Each folder is listed once.
void CollectMatches(platform::FileSystem& files, const std::string& folder,
                    const std::string& pattern, bool recurse, std::vector<FoundFile>& found,
                    std::vector<SkippedFile>& skipped) {
  constexpr std::uint32_t kNoFile = platform::kAttrDirectory | platform::kAttrVolumeLabel;
  const bool all = pattern == "*.*" || pattern == "*";
  // Without recursion the system matches the pattern, as it would for any Windows program.
  const auto entries = Entries(files, folder, recurse ? "*" : pattern, skipped);
  for (const auto& entry : entries) {
    if (!(entry.attributes & kNoFile) &&
        (!recurse || all || MatchesWildcard(pattern, entry.name))) {
      found.push_back({Joined(folder, entry.name), entry.size});
    }
  }
  if (!recurse) return;
  for (const auto& entry : entries) {
    // A junction or link may lead back up the tree, or into another share.
    const bool enter = (entry.attributes & platform::kAttrDirectory) &&
                       !(entry.attributes & platform::kAttrReparsePoint);
    if (enter && entry.name != "." && entry.name != "..") {
      CollectMatches(files, Joined(folder, entry.name), pattern, true, found, skipped);
    }
  }
}

std::uint64_t SizeOf(platform::FileSystem& files, const std::string& path) {
  auto start = files.FindFirst(path);
  if (!start.search) return 0;
  const auto entry = start.search->Next();
  return entry ? entry->size : 0;
}

}  // namespace

bool IsPattern(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return name.find_first_of("*?") != std::string_view::npos;
}

bool Summary::AnyUnreadable() const {
  return std::any_of(skipped.begin(), skipped.end(),
                     [](const SkippedFile& file) { return file.unreadable; });
}

bool Summary::AnyFailed() const {
  return std::any_of(rows.begin(), rows.end(),
                     [](const Row& row) { return row.latest.report.AnyFailed(); });
}

std::string ComputerShown(const Report& report) {
  return report.computer.empty() ? report.fileName : report.computer;
}

std::string UserShown(const Report& report) {
  return report.user.empty() ? std::string("-") : report.user;
}

std::vector<CheckCount> MostFailedChecks(const Summary& summary) {
  std::vector<CheckCount> counts;
  for (const CheckInfo& info : kChecks) {
    CheckCount count{info.check};
    for (const Row& row : summary.rows) {
      const CheckState state = row.latest.report.State(info.check);
      if (state != CheckState::Absent) ++count.present;
      if (state == CheckState::Failed) ++count.failed;
    }
    if (count.failed > 0) counts.push_back(count);
  }
  std::stable_sort(counts.begin(), counts.end(),
                   [](const CheckCount& a, const CheckCount& b) { return a.failed > b.failed; });
  return counts;
}

Summary Summarise(platform::FileSystem& files, const std::vector<std::string>& paths,
                  const SummaryOptions& options) {
  Summary summary;
  std::vector<FoundFile> found;
  for (const std::string& path : paths) {
    if (files.FolderExists(path)) {
      CollectMatches(files, path, "*.*", options.recurse, found, summary.skipped);
    } else if (IsPattern(path)) {
      // The console passes wildcards on unexpanded, as Windows programs expect.
      const auto slash = path.find_last_of("\\/");
      const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
      CollectMatches(files, folder, path.substr(slash + 1), options.recurse, found,
                     summary.skipped);
    } else if (files.FileExists(path)) {
      found.push_back({path, SizeOf(files, path)});
    } else {
      summary.skipped.push_back({path, "no such file or folder", true});
    }
  }
  // A file given twice, or found through two paths, is read once.
  std::set<std::string> seen;
  const auto first = [&](const std::string& path) {
    return seen.insert(AsciiUpper(files.FullPath(path))).second;
  };
  for (const std::string& path : options.excluded) first(path);
  std::erase_if(found, [&](const FoundFile& file) { return !first(file.path); });
  BuildRows(files, found, options, summary);
  return summary;
}

std::vector<FindingGroup> GroupFindings(const Summary& summary) {
  std::vector<FindingGroup> groups;
  for (const Rule& rule : Rules()) {
    FindingGroup group{&rule, {}};
    std::set<std::string> computers;
    for (std::size_t i = 0; i < summary.rows.size(); ++i) {
      for (const Finding& finding : summary.rows[i].latest.findings) {
        if (finding.rule != &rule) continue;
        group.items.push_back({i, &finding});
        computers.insert(AsciiUpper(ComputerShown(summary.rows[i].latest.report)));
      }
    }
    group.affected = summary.allReports ? group.items.size() : computers.size();
    if (!group.items.empty()) groups.push_back(std::move(group));
  }
  std::stable_sort(groups.begin(), groups.end(), [](const FindingGroup& a, const FindingGroup& b) {
    return a.affected > b.affected;
  });
  return groups;
}

std::string AffectedShown(const Summary& summary, std::size_t count) {
  const char* noun = summary.allReports ? " report" : " workstation";
  return std::to_string(count) + noun + (count == 1 ? "" : "s");
}

std::size_t FailingRows(const Summary& summary) {
  return static_cast<std::size_t>(
      std::count_if(summary.rows.begin(), summary.rows.end(),
                    [](const Row& row) { return row.latest.report.AnyFailed(); }));
}

std::string_view CheckStateWord(CheckState state) {
  switch (state) {
    case CheckState::Passed:
      return "passed";
    case CheckState::Failed:
      return "FAILED";
    case CheckState::Absent:
      break;
  }
  return "absent";
}

std::string StateShown(const Summary& summary, const Row& row) {
  const std::string& time = row.since.shown;
  switch (row.state) {
    case RowState::Failing:
      return summary.allReports ? "failing" : "failing since " + time;
    case RowState::Mended:
      return "mended " + time;
    case RowState::Silent:
      return "silent since " + time;
    case RowState::Passing:
      break;
  }
  return "passing";
}

}  // namespace vorlix::summary
