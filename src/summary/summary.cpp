#include "summary/summary.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "platform/errors.h"
#include "summary/history.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
}

constexpr std::uint32_t kFileNotFound = 2;  // the system's code for a pattern that matches nothing

// Lists a folder into `found` (the files a pattern matches, in name order) and `subfolders`. A
// search that cannot start, other than one that finds nothing in a folder that is there, or that
// ends early, is kept as unreadable. Without recursion the system matches the pattern, as it
// would for any Windows program.
void List(platform::FileSystem& files, const std::string& folder, const std::string& pattern,
          bool recurse, FoundFiles& found, std::vector<std::string>& subfolders,
          std::vector<SkippedFile>& skipped) {
  constexpr std::uint32_t kNoFile = platform::kAttrDirectory | platform::kAttrVolumeLabel;
  const bool all = pattern == "*.*" || pattern == "*";
  const std::string searched = JoinedPath(folder, recurse ? "*" : pattern);
  auto start = files.FindFirst(searched);
  if (!start.search) {
    if (start.error != kFileNotFound || !files.FolderExists(folder)) {
      skipped.push_back({searched, SystemError("cannot be listed", start.error), true});
    }
    return;
  }
  const std::uint32_t index = found.AddFolder(folder);
  const std::size_t first = found.size();
  while (auto entry = start.search->Next()) {
    if (!(entry->attributes & kNoFile)) {
      if (!recurse || all || MatchesWildcard(pattern, entry->name)) {
        found.Add(index, entry->name, entry->size);
      }
    } else if (recurse && (entry->attributes & platform::kAttrDirectory) &&
               !(entry->attributes & platform::kAttrReparsePoint) && entry->name != "." &&
               entry->name != "..") {
      // A junction or link may lead back up the tree, or into another share.
      subfolders.push_back(std::move(entry->name));
    }
  }
  if (start.search->EndError() != platform::DirectorySearch::kNoMoreFiles) {
    skipped.push_back(
        {searched, SystemError("cannot be listed to its end", start.search->EndError()), true});
  }
  found.SortFrom(first);
  std::sort(subfolders.begin(), subfolders.end(), LessNoCase);
}

// The files a pattern matches in name order, then, when recursing, those that it matches in
// the subfolders. Each folder is listed once.
void CollectMatches(platform::FileSystem& files, const std::string& folder,
                    const std::string& pattern, bool recurse, FoundFiles& found,
                    std::vector<SkippedFile>& skipped) {
  std::vector<std::string> subfolders;
  List(files, folder, pattern, recurse, found, subfolders, skipped);
  for (const std::string& subfolder : subfolders) {
    CollectMatches(files, JoinedPath(folder, subfolder), pattern, true, found, skipped);
  }
}

std::uint64_t SizeOf(platform::FileSystem& files, const std::string& path) {
  auto start = files.FindFirst(path);
  if (!start.search) return 0;
  const auto entry = start.search->Next();
  return entry ? entry->size : 0;
}

// A folder as one key however it was named: its full path in capitals, without a separator at
// its end.
std::string FolderKey(platform::FileSystem& files, const std::string& folder) {
  std::string key = AsciiUpper(files.FullPath(folder.empty() ? std::string(".") : folder));
  while (key.size() > 1 && (key.back() == '\\' || key.back() == '/')) key.pop_back();
  return key;
}

// A file given twice, or found through two paths, is read once, and the files being written
// (the page) not at all. Only a folder listed twice, or one that holds such a file, has its
// names compared.
void DropRepeated(platform::FileSystem& files, const std::vector<std::string>& excluded,
                  FoundFiles& found) {
  std::vector<std::string> keys;
  std::map<std::string, int> listed;
  for (std::size_t folder = 0; folder < found.Folders(); ++folder) {
    keys.push_back(FolderKey(files, found.Folder(static_cast<std::uint32_t>(folder))));
    ++listed[keys.back()];
  }
  std::set<std::string> seen;  // "FOLDER\NAME"
  std::set<std::string> watched;
  for (const std::string& path : excluded) {
    const auto slash = path.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string key = FolderKey(files, folder);
    seen.insert(key + "\\" + AsciiUpper(path.substr(slash + 1)));
    watched.insert(key);
  }
  for (const auto& [key, count] : listed) {
    if (count > 1) watched.insert(key);
  }
  if (watched.empty()) return;
  found.Keep([&](std::size_t file) {
    const std::string& key = keys[found.FolderOf(file)];
    if (!watched.count(key)) return true;
    const std::string path = key + "\\" + AsciiUpper(found.Name(file));
    return listed[key] > 1 ? seen.insert(path).second : !seen.count(path);
  });
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
  FoundFiles found;
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
      const auto slash = path.find_last_of("\\/");
      const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
      found.Add(found.AddFolder(path.substr(0, name)), std::string_view(path).substr(name),
                SizeOf(files, path));
    } else {
      summary.skipped.push_back({path, "no such file or folder", true});
    }
  }
  DropRepeated(files, options.excluded, found);
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
