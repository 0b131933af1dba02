#include "findings/findings.h"

#include <algorithm>
#include <array>

#include "common/place.h"
#include "common/text.h"
#include "report/file_access.h"
#include "report/report_file.h"
#include "report/report_texts.h"

namespace vorlix::findings {

namespace {

namespace texts = report::texts;
using Lines = std::vector<std::size_t>;
using Report = std::span<const CheckedLine>;

// The index of the n-th check line of a check.
std::optional<std::size_t> CheckLine(Report report, Check check, std::size_t n = 0) {
  for (std::size_t i = 0; i < report.size(); ++i) {
    const CheckedLine& line = report[i];
    if (line.check == check && line.verdict != CheckState::Absent && n-- == 0) return i;
  }
  return std::nullopt;
}

// The message after the verdict's prefix; empty when the text does not carry it, as a JSON file
// from elsewhere may claim a verdict its text does not show.
std::string_view Message(Report report, std::size_t index) {
  const std::string_view text = report[index].text;
  const std::string_view prefix =
      report[index].verdict == CheckState::Failed ? report::kFailedPrefix : report::kPassedPrefix;
  return text.starts_with(prefix) ? text.substr(prefix.size()) : std::string_view();
}

bool Failed(Report report, std::size_t index) {
  return report[index].verdict == CheckState::Failed;
}

// A folder check: the path, whether it was found, and what the report learnt beyond the line.
struct FolderCheck {
  std::size_t index;
  std::string path;
  bool found;
  PlaceFacts facts;

  // Only a fact the report recorded counts; a text report has none.
  bool LetterGone() const { return facts.letterHere == false; }
  bool ServerSilent() const { return facts.serverAnswered == false; }
};

std::optional<FolderCheck> FolderOf(Report report, std::optional<std::size_t> index) {
  if (!index) return std::nullopt;
  const std::string_view message = Message(report, *index);
  for (const auto& [verdict, found] :
       {std::pair{texts::kFound, true}, {texts::kIsMissing, false}}) {
    if (message.ends_with(verdict)) {
      return FolderCheck{*index, std::string(message.substr(0, message.size() - verdict.size())),
                         found, report[*index].facts};
    }
  }
  return std::nullopt;
}

// The folder check of a section is its last check line (the setting line comes before it).
std::optional<FolderCheck> FolderCheckOf(Report report, Check check) {
  std::optional<std::size_t> last;
  for (std::size_t n = 0; const auto index = CheckLine(report, check, n); ++n) last = index;
  return FolderOf(report, last);
}

bool OnDriveLetter(std::string_view path) { return PlaceOf(path).kind == Place::Kind::Drive; }

bool IsNetworkPath(std::string_view path) { return path.starts_with("\\\\"); }

// A drive comparison "'A' = 'B'" or "'A' <> 'B'".
struct DriveComparison {
  std::size_t index;
  std::string first;
  std::string second;
  bool equal;
};

std::optional<DriveComparison> ComparisonOf(Report report, Check check) {
  const auto index = CheckLine(report, check);
  if (!index) return std::nullopt;
  std::string_view message = Message(report, *index);
  if (!message.starts_with(texts::kDriveOpen) || !message.ends_with(texts::kDriveClose) ||
      message.size() < texts::kDriveOpen.size() + texts::kDriveClose.size()) {
    return std::nullopt;
  }
  message.remove_prefix(texts::kDriveOpen.size());
  message.remove_suffix(texts::kDriveClose.size());
  for (const auto& [separator, equal] :
       {std::pair{texts::kSameDrive, true}, {texts::kOtherDrive, false}}) {
    const auto at = message.find(separator);
    if (at == std::string_view::npos) continue;
    return DriveComparison{*index, std::string(message.substr(0, at)),
                           std::string(message.substr(at + separator.size())), equal};
  }
  return std::nullopt;
}

// The licence folder as read and as UNC.
struct LicenceFolders {
  FolderCheck asRead;
  FolderCheck universal;
};

std::optional<LicenceFolders> Licence(Report report) {
  auto asRead = FolderCheckOf(report, Check::LicenceFolder);
  auto universal = FolderCheckOf(report, Check::LicenceFolderUnc);
  if (!asRead || !universal) return std::nullopt;
  return LicenceFolders{*asRead, *universal};
}

// Missing on a drive letter whose "As UNC" form is the same path: this session knows no network
// name for the letter. Whether the letter exists at all, only the report's run could tell.
std::optional<LicenceFolders> LicenceOnLetterWithoutName(Report report) {
  const auto folders = Licence(report);
  if (!folders || folders->asRead.found || folders->universal.found) return std::nullopt;
  if (!OnDriveLetter(folders->asRead.path)) return std::nullopt;
  if (!SameTextIgnoringCase(folders->asRead.path, folders->universal.path)) return std::nullopt;
  return folders;
}

bool LicenceLetterGone(const LicenceFolders& folders) { return folders.asRead.LetterGone(); }
Lines LinesOf(const LicenceFolders& folders) {
  return {folders.asRead.index, folders.universal.index};
}

// The program folder missing on a letter whose UNC form in the licence drive comparison is
// still that letter: the session has no network name for it.
struct ProgramOnLetter {
  FolderCheck folder;
  DriveComparison universal;
};

std::optional<ProgramOnLetter> ProgramOnLetterWithoutName(Report report) {
  const auto folder = FolderCheckOf(report, Check::ProgramFolder);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  if (!folder || folder->found || !OnDriveLetter(folder->path) || !universal) return std::nullopt;
  if (!SameTextIgnoringCase(universal->second, folder->path.substr(0, 2))) return std::nullopt;
  return ProgramOnLetter{*folder, *universal};
}

bool ProgramLetterGone(const ProgramOnLetter& found) { return found.folder.LetterGone(); }
bool ProgramServerSilent(const ProgramOnLetter& found) { return found.folder.ServerSilent(); }
Lines LinesOf(const ProgramOnLetter& found) { return {found.folder.index, found.universal.index}; }

// The program folder missing on a network share, by its UNC name or a connected letter.
std::optional<ProgramOnLetter> ProgramMissingOnShare(Report report) {
  const auto folder = FolderCheckOf(report, Check::ProgramFolder);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  if (!folder || folder->found || !universal || !IsNetworkPath(universal->second)) {
    return std::nullopt;
  }
  if (!OnDriveLetter(folder->path) && !IsNetworkPath(folder->path)) return std::nullopt;
  return ProgramOnLetter{*folder, *universal};
}

Lines LicenceDriveBroken(Report report) {
  const auto folders = Licence(report);
  if (!folders || folders->asRead.found || !folders->universal.found) return {};
  if (!OnDriveLetter(folders->asRead.path) || !IsNetworkPath(folders->universal.path)) return {};
  return {folders->asRead.index, folders->universal.index};
}

// Missing both ways under a network name; the UNC drive comparison tells whose server it is.
struct LicenceOnServer {
  LicenceFolders folders;
  DriveComparison universal;
};

std::optional<LicenceOnServer> LicenceMissingOnServer(Report report, bool programsServer) {
  const auto folders = Licence(report);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  if (!folders || folders->asRead.found || folders->universal.found || !universal) {
    return std::nullopt;
  }
  if (!IsNetworkPath(folders->universal.path) || universal->equal != programsServer) {
    return std::nullopt;
  }
  return LicenceOnServer{*folders, *universal};
}

std::optional<LicenceOnServer> LicenceOnProgramsServer(Report report) {
  return LicenceMissingOnServer(report, true);
}
std::optional<LicenceOnServer> LicenceOnOtherServerMissing(Report report) {
  return LicenceMissingOnServer(report, false);
}
bool LicenceServerSilent(const LicenceOnServer& found) {
  return found.folders.universal.ServerSilent();
}
bool Always(const LicenceOnServer&) { return true; }
Lines LinesOf(const LicenceOnServer& found) {
  return {found.folders.asRead.index, found.folders.universal.index, found.universal.index};
}

// A pattern the text shows, split by a fact only the report's run can record: the rule that
// names the cause needs the fact, the other names only what the text proves.
template <auto Pattern, auto Fact, bool Recorded>
Lines Split(Report report) {
  const auto found = Pattern(report);
  if (!found || Fact(*found) != Recorded) return {};
  return LinesOf(*found);
}

// The failed lines of a write test with one of these messages. Reading and deleting follow a
// successful creation only, so their failures need no further test.
Lines WriteTestLines(Report report, Check test, std::initializer_list<std::string_view> messages) {
  Lines found;
  for (std::size_t n = 0; const auto index = CheckLine(report, test, n); ++n) {
    if (!Failed(report, *index)) continue;
    const std::string_view message = Message(report, *index);
    for (std::string_view wanted : messages) {
      if (message == wanted) found.push_back(*index);
    }
  }
  return found;
}

Lines LicenceNotWritable(Report report) {
  // The write test uses the folder as read; found only as UNC, it is another rule's case.
  const auto folder = FolderCheckOf(report, Check::LicenceFolder);
  Lines lines = WriteTestLines(report, Check::LicenceWriteTest, {texts::kCreationFailed});
  if (!folder || !folder->found || lines.empty()) return {};
  lines.insert(lines.begin(), folder->index);
  return lines;
}

Lines ReadsIntercepted(Report report) {
  Lines lines;
  for (Check test : {Check::LicenceWriteTest, Check::ProjectWriteTest}) {
    const Lines found =
        WriteTestLines(report, test, {report::kReadingFileFailed, texts::kContentsError});
    lines.insert(lines.end(), found.begin(), found.end());
  }
  return lines;
}

Lines TestFileLeft(Report report) {
  Lines lines;
  for (Check test : {Check::LicenceWriteTest, Check::ProjectWriteTest}) {
    for (std::size_t n = 0; const auto index = CheckLine(report, test, n); ++n) {
      const std::string_view message = Message(report, *index);
      if (Failed(report, *index) &&
          (message == texts::kDeletionFailed || message.ends_with(texts::kIsNotDeleted))) {
        lines.push_back(*index);
      }
    }
  }
  return lines;
}

// The program folder's first line is its Path setting, which fails only when it is missing.
Lines NotInstalled(Report report) {
  const auto setting = CheckLine(report, Check::ProgramFolder);
  if (!setting || !Failed(report, *setting)) return {};
  return {*setting};
}

Lines MakerFolderIsRoot(Report report) {
  const auto search = CheckLine(report, Check::MakerFolderSearch);
  if (!search || !Failed(report, *search)) return {};
  const std::string ending =
      std::string(texts::kSearchFailed) + "2" + std::string(texts::kTopmostHint);
  const std::string_view message = Message(report, *search);
  if (!message.ends_with(ending)) return {};
  const std::string_view path = message.substr(0, message.size() - ending.size());
  if (!path.ends_with("\\")) return {};
  return {*search};
}

Lines LicenceOnOtherServer(Report report) {
  const auto program = FolderCheckOf(report, Check::ProgramFolder);
  const auto asRead = ComparisonOf(report, Check::LicenceDrive);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  // The folders must be there both ways: a comparison with a missing one says nothing of the
  // servers.
  const auto licence = Licence(report);
  if (!licence || !licence->asRead.found || !licence->universal.found) return {};
  if (!program || !program->found || !asRead || !universal) return {};
  if (asRead->equal || universal->equal) return {};
  return {asRead->index, universal->index};
}

Lines ProjectFolderProblem(Report report) {
  Lines lines;
  if (const auto folder = FolderCheckOf(report, Check::ProjectFolder); folder && !folder->found) {
    lines.push_back(folder->index);
  }
  const Lines creation = WriteTestLines(report, Check::ProjectWriteTest, {texts::kCreationFailed});
  lines.insert(lines.end(), creation.begin(), creation.end());
  return lines;
}

constexpr std::string_view kReconnect =
    "Reconnect the drive, or run \"Store drive map...\" in a normal run and then "
    "\"Convert to UNC...\" with \"Run as administrator\".";

constexpr std::array kRules = {
    Rule{"licence-drive-not-connected", "Licence folder: drive letter not connected here",
         "The licence folder is on a drive letter and missing, its \"As UNC\" check names the "
         "same drive-letter path, and the letter does not exist in this session: the drive is "
         "not connected here. Typical of a run with \"Run as administrator\", or of a lost "
         "mapping. It does not mean that the server is down.",
         kReconnect, Split<LicenceOnLetterWithoutName, LicenceLetterGone, true>},
    Rule{"licence-letter-without-name",
         "Licence folder: missing on a drive letter with no network name here",
         "The licence folder is on a drive letter and missing, and its \"As UNC\" check names the "
         "same drive-letter path: this session knows no network name for that letter. Either the "
         "drive is not connected here (typical of a run with \"Run as administrator\", or of a "
         "lost mapping), or it is a local drive without that folder; the report does not tell "
         "which.",
         "If the letter should be a network drive, reconnect it, or run \"Store drive map...\" in "
         "a normal run and then \"Convert to UNC...\" with \"Run as administrator\"; otherwise "
         "correct LicenseFolder.",
         Split<LicenceOnLetterWithoutName, LicenceLetterGone, false>},
    Rule{"program-drive-not-connected", "Program folder: drive letter not connected here",
         "The program folder is on a drive letter and missing, the program's UNC drive in the "
         "licence drive comparison is still that letter, and the letter does not exist in this "
         "session: the drive is not connected here. Typical of a run with \"Run as "
         "administrator\", or of a lost mapping.",
         kReconnect, Split<ProgramOnLetterWithoutName, ProgramLetterGone, true>},
    Rule{"program-letter-without-name",
         "Program folder: missing on a drive letter with no network name here",
         "The program folder is on a drive letter and missing, and the program's UNC drive in "
         "the licence drive comparison is still that letter: this session knows no network name "
         "for it. Either the drive is not connected here (typical of a run with \"Run as "
         "administrator\", or of a lost mapping), or it is a local drive without that folder; "
         "the report does not tell which.",
         "If the letter should be a network drive, reconnect it, or run \"Store drive map...\" in "
         "a normal run and then \"Convert to UNC...\" with \"Run as administrator\"; otherwise "
         "correct the program's Path setting.",
         Split<ProgramOnLetterWithoutName, ProgramLetterGone, false>},
    Rule{"program-server-gone", "Program folder: its server not reachable",
         "The program folder lies on a network share, by its UNC name or by a connected drive "
         "letter, and is missing, and its server did not answer the check, so the ini file and "
         "the licence setting are missing too: the server is gone or does not answer, or the way "
         "to it is cut.",
         "Check that the program's server is running and reachable from this workstation; if "
         "the program has moved, correct its Path setting.",
         Split<ProgramMissingOnShare, ProgramServerSilent, true>},
    Rule{"program-missing-on-share", "Program folder: missing on a network share",
         "The program folder lies on a network share, by its UNC name or by a connected drive "
         "letter, and is missing, so its ini file and the licence setting are missing too. "
         "Either its server does not answer, or the share or folder is not there; the report "
         "does not tell which.",
         "Check that the program's server is running and reachable from this workstation, and "
         "that the share and folder of the program's Path setting exist there.",
         Split<ProgramMissingOnShare, ProgramServerSilent, false>},
    Rule{"licence-drive-broken", "Licence folder: drive letter broken, share reachable",
         "The licence folder is missing by its drive letter but found as UNC: the letter's "
         "connection is broken, or points to another share, while the share itself is reachable.",
         "Reconnect the letter to the share its UNC form names, or store the paths in UNC form "
         "with \"Convert to UNC...\".",
         LicenceDriveBroken},
    Rule{"licence-share-unreachable", "Licence folder: share or folder not reachable",
         "The licence folder is missing both by its path and as UNC, on the program's own server "
         "(the UNC drive comparison says \"=\"): the server answers for the program, so suspect "
         "the share or folder name, or the permissions.",
         "Check the share and folder names in LicenseFolder, and the user's rights on that share.",
         Split<LicenceOnProgramsServer, Always, true>},
    Rule{"licence-server-unreachable", "Licence folder: its server not reachable",
         "The licence folder is missing both by its path and as UNC, on another server than the "
         "program's (the UNC drive comparison says \"<>\"), and that server did not answer the "
         "check: suspect that server, or the way to it.",
         "Check that the licence folder's server is running and reachable from this workstation.",
         Split<LicenceOnOtherServerMissing, LicenceServerSilent, true>},
    Rule{"licence-missing-on-other-server", "Licence folder: missing on another server",
         "The licence folder is missing both by its path and as UNC, on another server than the "
         "program's (the UNC drive comparison says \"<>\"). Either that server does not answer, "
         "or the share or folder is not on it; the report does not tell which.",
         "Check that the licence folder's server is running and reachable from this workstation, "
         "and the share and folder names in LicenseFolder.",
         Split<LicenceOnOtherServerMissing, LicenceServerSilent, false>},
    Rule{"licence-not-writable", "Licence folder: no write permission",
         "The licence folder was found, but \"File creation failed\": the user has no write "
         "permission there, or the share is read-only.",
         "Give the program's users the right to create, change and delete files in the licence "
         "folder, or make the share writable.",
         LicenceNotWritable},
    Rule{"reads-intercepted", "Test file created, but not read back",
         "The test file was created, but \"Reading file failed\" or \"File contents error\": "
         "something intercepts reads there (a filter driver, an offline copy), or the share is "
         "unstable.",
         "Look for filter or antivirus software and offline files on that share, and test the "
         "connection's stability.",
         ReadsIntercepted},
    Rule{"test-file-left", "Test file left behind",
         "The test file was created, but \"File deletion failed\" or \"...is not deleted\": the "
         "user has no delete permission there, and the test file az193201.txt is left behind in "
         "that folder.",
         "Give the user the right to delete files in that folder, and remove the left-over "
         "az193201.txt.",
         TestFileLeft},
    Rule{"not-installed", "Program not installed for this machine",
         "The program's \"Path\" setting is missing: the program is not installed for this "
         "machine, so the later checks examine \"Absent\".",
         "Install the program on this workstation, or make the report for the program that is "
         "installed.",
         NotInstalled},
    Rule{"maker-folder-root", "Maker folder is a drive root",
         "The maker folder search fails with \"Reply=2\" and its hint, on a path that ends in a "
         "backslash: the maker folder (TarnWickPath) is the root of a drive, which has no "
         "directory entry of its own.",
         "Keep the maker folder in a folder below the drive root, and point TarnWickPath at it.",
         MakerFolderIsRoot},
    Rule{"licence-other-server", "Licence folder on another drive or server than the program",
         "Both licence drive comparisons say \"<>\": the licence folder lies on another drive or "
         "server than the program.",
         "If that is not intended, point LicenseFolder at a folder on the program's server; "
         "otherwise make sure every workstation reaches that server as well.",
         LicenceOnOtherServer},
    Rule{"project-folder", "Project folder missing or not writable",
         "The user's project folder (TarnWickProjectPath) is missing, or \"File creation failed\" "
         "there.",
         "Create the project folder or correct the user's TarnWickProjectPath, and give the user "
         "write permission in it.",
         ProjectFolderProblem},
};

// Columns are counted in characters, not in the bytes of their UTF-8 form.
std::size_t Width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return width;
}

}  // namespace

std::span<const Rule> Rules() { return kRules; }

std::vector<Finding> FindingsOf(std::span<const CheckedLine> lines) {
  std::vector<Finding> findings;
  for (const Rule& rule : kRules) {
    Lines found = rule.match(lines);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    if (!found.empty()) findings.push_back({&rule, std::move(found)});
  }
  return findings;
}

std::vector<CheckedLine> CheckedLines(std::string_view text,
                                      std::span<const report::LineRecord> records) {
  std::vector<CheckedLine> lines;
  lines.reserve(records.size());
  for (const report::LineRecord& record : records) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const bool read = record.check || record.verdict != CheckState::Absent;
    lines.push_back(
        {read ? std::string(line) : std::string(), record.verdict, record.check, record.facts});
  }
  return lines;
}

std::vector<report::json::Finding> JsonFindings(std::span<const Finding> findings) {
  std::vector<report::json::Finding> out;
  for (const Finding& finding : findings) {
    report::json::Finding item{std::string(finding.rule->id),
                               std::string(finding.rule->title),
                               std::string(finding.rule->cause),
                               std::string(finding.rule->repair),
                               {}};
    for (std::size_t index : finding.lines) item.lines.push_back(static_cast<int>(index + 1));
    out.push_back(std::move(item));
  }
  return out;
}

void AppendWrapped(std::string& out, std::string_view label, std::string_view text,
                   std::string_view newline) {
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
    out.append(lead).append(text.substr(0, cut)).append(newline);
    text.remove_prefix(cut);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    lead = indent;
  }
}

std::string FindingsBlock(std::span<const Finding> findings, std::string_view newline) {
  std::string out = "Findings:";
  out.append(newline);
  if (findings.empty()) out.append("  none").append(newline);
  for (const Finding& finding : findings) {
    out.append(newline).append("  ").append(finding.rule->title).append(newline);
    AppendWrapped(out, "    Cause:  ", finding.rule->cause, newline);
    AppendWrapped(out, "    Repair: ", finding.rule->repair, newline);
    out.append(finding.lines.size() > 1 ? "    - lines" : "    - line");
    for (std::size_t k = 0; k < finding.lines.size(); ++k) {
      out.append(k ? ", " : " ").append(std::to_string(finding.lines[k] + 1));
    }
    out.append(newline);
  }
  return out;
}

std::string VerdictLine(std::span<const Finding> findings, std::span<const CheckedLine> lines) {
  if (!findings.empty()) {
    std::string verdict = "Likely cause: " + std::string(findings.front().rule->title);
    if (findings.size() > 1) {
      verdict += " (and " + std::to_string(findings.size() - 1) + " more)";
    }
    return verdict;
  }
  // Each failed check counts once; a failed line of no check counts on its own.
  std::array<bool, report::kCheckCount> failedChecks{};
  std::size_t failed = 0;
  for (const CheckedLine& line : lines) {
    if (line.verdict != CheckState::Failed) continue;
    if (!line.check) {
      ++failed;
    } else if (!failedChecks[static_cast<std::size_t>(*line.check)]) {
      failedChecks[static_cast<std::size_t>(*line.check)] = true;
      ++failed;
    }
  }
  if (failed == 0) return "No check failed.";
  return std::to_string(failed) + (failed == 1 ? " check failed" : " checks failed") +
         "; no known cause. Save the report and send it to your support.";
}

}  // namespace vorlix::findings
