#include "summary/summary.h"

#include <algorithm>
#include <array>
#include <iomanip>

#include "platform/errors.h"
#include "report/report_json.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

struct FoundFile {
  std::string path;
  std::uint64_t size = 0;
};

std::string Joined(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
}

constexpr std::uint32_t kFileNotFound = 2;  // the system's code for a pattern that matches nothing

std::string SystemError(std::string_view what, std::uint32_t code) {
  return std::string(what) + " (system error " + std::to_string(code) + ")";
}

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
// the subfolders.
void CollectMatches(platform::FileSystem& files, const std::string& folder,
                    const std::string& pattern, bool recurse, std::vector<FoundFile>& found,
                    std::vector<SkippedFile>& skipped) {
  constexpr std::uint32_t kNoFile = platform::kAttrDirectory | platform::kAttrVolumeLabel;
  for (const auto& entry : Entries(files, folder, pattern, skipped)) {
    if (!(entry.attributes & kNoFile)) found.push_back({Joined(folder, entry.name), entry.size});
  }
  if (!recurse) return;
  for (const auto& entry : Entries(files, folder, "*.*", skipped)) {
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

// The code page that the JSON twin of a text report names: the same name with ".json".
std::optional<int> TwinCodePage(platform::FileSystem& files, const std::string& path) {
  if (!EndsWithNoCase(path, ".txt")) return std::nullopt;
  const std::string twin = path.substr(0, path.size() - 4) + ".json";
  if (!files.FileExists(twin) || SizeOf(files, twin) > kMaxReportBytes) return std::nullopt;
  try {
    return report::json::Read(files.ReadAll(twin)).codePage;
  } catch (const InOutError&) {
  } catch (const report::json::FormatError&) {
  }
  return std::nullopt;  // the twin is listed as skipped on its own
}

// Columns are counted in characters, not in the bytes of their UTF-8 form.
std::size_t Width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return width;
}

void Pad(std::ostream& out, const std::string& text, std::size_t width) {
  out << text << std::string(width > Width(text) ? width - Width(text) : 0, ' ');
}

// A long text in lines of at most 100 characters, each after the indent.
void Wrapped(std::ostream& out, std::string_view label, std::string_view text) {
  constexpr std::size_t kLineWidth = 100;
  const std::string indent(label.size(), ' ');
  std::string_view lead = label;
  while (!text.empty()) {
    std::size_t cut = text.size();
    if (lead.size() + Width(text) > kLineWidth) {
      cut = text.rfind(' ', kLineWidth - lead.size());
      if (cut == std::string_view::npos || cut == 0) cut = text.find(' ');
      if (cut == std::string_view::npos) cut = text.size();
    }
    out << lead << text.substr(0, cut) << "\n";
    text.remove_prefix(cut);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    lead = indent;
  }
}

std::string Who(const Report& report) {
  return ComputerShown(report) + " / " + UserShown(report) + " / " + report.program + " (" +
         report.level + ", " + report.time + ")";
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
  return std::any_of(entries.begin(), entries.end(),
                     [](const SummaryEntry& entry) { return entry.report.AnyFailed(); });
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
    for (const SummaryEntry& entry : summary.entries) {
      const CheckState state = entry.report.State(info.check);
      if (state != CheckState::Absent) ++count.present;
      if (state == CheckState::Failed) ++count.failed;
    }
    if (count.failed > 0) counts.push_back(count);
  }
  std::stable_sort(counts.begin(), counts.end(),
                   [](const CheckCount& a, const CheckCount& b) { return a.failed > b.failed; });
  return counts;
}

Summary Summarise(platform::FileSystem& files, const std::vector<std::string>& paths, bool recurse,
                  const std::vector<std::string>& excluded) {
  Summary summary;
  std::vector<FoundFile> found;
  for (const std::string& path : paths) {
    if (files.FolderExists(path)) {
      CollectMatches(files, path, "*.*", recurse, found, summary.skipped);
    } else if (IsPattern(path)) {
      // The console passes wildcards on unexpanded, as Windows programs expect.
      const auto slash = path.find_last_of("\\/");
      const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
      CollectMatches(files, folder, path.substr(slash + 1), recurse, found, summary.skipped);
    } else if (files.FileExists(path)) {
      found.push_back({path, SizeOf(files, path)});
    } else {
      summary.skipped.push_back({path, "no such file or folder", true});
    }
  }
  std::vector<std::string> seen = excluded;
  for (const FoundFile& file : found) {
    const std::string full = files.FullPath(file.path);
    if (std::any_of(seen.begin(), seen.end(),
                    [&](const std::string& other) { return SameTextIgnoringCase(other, full); })) {
      continue;
    }
    seen.push_back(full);
    if (file.size > kMaxReportBytes) {
      summary.skipped.push_back({file.path, std::string(kTooLarge)});
      continue;
    }
    std::string content;
    try {
      content = files.ReadAll(file.path);
    } catch (const InOutError& error) {
      summary.skipped.push_back({file.path, SystemError("cannot be read", error.code()), true});
      continue;
    }
    ReadResult result = ReadReport(file.path, content, TwinCodePage(files, file.path));
    if (!result.report) {
      summary.skipped.push_back({file.path, std::move(result.skipReason)});
      continue;
    }
    SummaryEntry entry{std::move(*result.report), {}};
    entry.findings = FindingsOf(entry.report);
    summary.entries.push_back(std::move(entry));
  }
  return summary;
}

void WriteSummaryText(const Summary& summary, std::ostream& out) {
  const std::array<std::string, 6> headings = {"Computer", "User", "Program",
                                               "Level",    "Time", "FAILED"};
  std::vector<std::array<std::string, 6>> rows;
  for (const SummaryEntry& entry : summary.entries) {
    const Report& r = entry.report;
    rows.push_back({ComputerShown(r), UserShown(r), r.program, r.level, r.time,
                    std::to_string(r.failedLines)});
  }
  std::array<std::size_t, 6> widths{};
  for (std::size_t c = 0; c < widths.size(); ++c) {
    widths[c] = headings[c].size();
    for (const auto& row : rows) widths[c] = std::max(widths[c], Width(row[c]));
  }
  const auto writeRow = [&](const std::array<std::string, 6>& row) {
    for (std::size_t c = 0; c + 1 < row.size(); ++c) {
      Pad(out, row[c], widths[c]);
      out << "  ";
    }
    out << std::setw(static_cast<int>(widths.back())) << row.back() << "\n";
  };
  out << summary.entries.size() << (summary.entries.size() == 1 ? " report" : " reports");
  if (!summary.skipped.empty()) out << ", " << summary.skipped.size() << " skipped";
  out << "\n\n";
  if (!rows.empty()) {
    writeRow(headings);
    for (const auto& row : rows) writeRow(row);
  }

  if (!summary.skipped.empty()) {
    out << "\nSkipped:\n";
    for (const SkippedFile& file : summary.skipped) {
      out << "  " << file.path << ": " << file.reason << "\n";
    }
  }

  out << "\nFindings:\n";
  bool any = false;
  for (const Rule& rule : Rules()) {
    std::vector<const SummaryEntry*> concerned;
    std::vector<const Finding*> matches;
    for (const SummaryEntry& entry : summary.entries) {
      for (const Finding& finding : entry.findings) {
        if (finding.rule != &rule) continue;
        concerned.push_back(&entry);
        matches.push_back(&finding);
      }
    }
    if (concerned.empty()) continue;
    any = true;
    out << "\n  " << rule.title << " (" << concerned.size()
        << (concerned.size() == 1 ? " report)\n" : " reports)\n");
    Wrapped(out, "    Cause:  ", rule.cause);
    Wrapped(out, "    Repair: ", rule.repair);
    for (std::size_t i = 0; i < concerned.size(); ++i) {
      out << "    - " << Who(concerned[i]->report) << ": line";
      if (matches[i]->lines.size() > 1) out << "s";
      for (std::size_t k = 0; k < matches[i]->lines.size(); ++k) {
        out << (k ? ", " : " ") << matches[i]->lines[k] + 1;
      }
      out << "\n";
    }
  }
  if (!any) out << "  none\n";

  const auto counts = MostFailedChecks(summary);
  out << "\nChecks that fail most often:\n";
  if (counts.empty()) out << "  none\n";
  std::size_t width = 0;
  for (const CheckCount& count : counts) {
    width = std::max(width, Width(kChecks[static_cast<std::size_t>(count.check)].name));
  }
  for (const CheckCount& count : counts) {
    out << "  ";
    Pad(out, std::string(kChecks[static_cast<std::size_t>(count.check)].name), width);
    out << "  failed in " << count.failed << " of " << count.present << "\n";
  }
}

}  // namespace vorlix::summary
