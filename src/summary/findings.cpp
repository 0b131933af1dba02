#include "summary/findings.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "report/file_access.h"
#include "report/report_file.h"
#include "report/report_texts.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

namespace texts = report::texts;
using Lines = std::vector<std::size_t>;

// The index of the n-th check line of a check.
std::optional<std::size_t> CheckLine(const Report& report, Check check, std::size_t n = 0) {
  for (std::size_t i = 0; i < report.lines.size(); ++i) {
    const ReportLine& line = report.lines[i];
    if (line.check == check && line.verdict != CheckState::Absent && n-- == 0) return i;
  }
  return std::nullopt;
}

std::string_view Message(const Report& report, std::size_t index) {
  return std::string_view(report.lines[index].text).substr(report::kPassedPrefix.size());
}

bool Failed(const Report& report, std::size_t index) {
  return report.lines[index].verdict == CheckState::Failed;
}

// A folder check: the path, and whether it was found.
struct FolderCheck {
  std::size_t index;
  std::string path;
  bool found;
};

std::optional<FolderCheck> FolderOf(const Report& report, std::optional<std::size_t> index) {
  if (!index) return std::nullopt;
  const std::string_view message = Message(report, *index);
  for (const auto& [verdict, found] :
       {std::pair{texts::kFound, true}, {texts::kIsMissing, false}}) {
    if (EndsWith(message, verdict)) {
      return FolderCheck{*index, std::string(message.substr(0, message.size() - verdict.size())),
                         found};
    }
  }
  return std::nullopt;
}

// The folder check of a section is its last check line (the setting line comes before it).
std::optional<FolderCheck> FolderCheckOf(const Report& report, Check check) {
  std::optional<std::size_t> last;
  for (std::size_t n = 0; const auto index = CheckLine(report, check, n); ++n) last = index;
  return FolderOf(report, last);
}

bool OnDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsNetworkPath(std::string_view path) { return StartsWith(path, "\\\\"); }

// A drive comparison "'A' = 'B'" or "'A' <> 'B'".
struct DriveComparison {
  std::size_t index;
  std::string first;
  std::string second;
  bool equal;
};

std::optional<DriveComparison> ComparisonOf(const Report& report, Check check) {
  const auto index = CheckLine(report, check);
  if (!index) return std::nullopt;
  const std::string_view message = Message(report, *index);
  if (message.size() < 2 || message.front() != '\'' || message.back() != '\'') return std::nullopt;
  for (const auto& [separator, equal] : {std::pair{"' = '", true}, {"' <> '", false}}) {
    const auto at = message.find(separator);
    if (at == std::string_view::npos) continue;
    const std::size_t rest = at + std::string_view(separator).size();
    return DriveComparison{*index, std::string(message.substr(1, at - 1)),
                           std::string(message.substr(rest, message.size() - rest - 1)), equal};
  }
  return std::nullopt;
}

// The licence folder and its UNC form, both missing or not as the rule asks.
struct LicenceFolders {
  FolderCheck asRead;
  FolderCheck universal;
};

std::optional<LicenceFolders> Licence(const Report& report) {
  auto asRead = FolderCheckOf(report, Check::LicenceFolder);
  auto universal = FolderCheckOf(report, Check::LicenceFolderUnc);
  if (!asRead || !universal) return std::nullopt;
  return LicenceFolders{*asRead, *universal};
}

Lines LicenceDriveNotConnected(const Report& report) {
  const auto folders = Licence(report);
  if (!folders || folders->asRead.found || folders->universal.found) return {};
  if (!OnDriveLetter(folders->asRead.path)) return {};
  if (!SameTextIgnoringCase(folders->asRead.path, folders->universal.path)) return {};
  return {folders->asRead.index, folders->universal.index};
}

Lines ProgramDriveNotConnected(const Report& report) {
  const auto folder = FolderCheckOf(report, Check::ProgramFolder);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  if (!folder || folder->found || !OnDriveLetter(folder->path) || !universal) return {};
  // The program's universal path still starts with the letter: the session has no network
  // name for it.
  if (!SameTextIgnoringCase(universal->second, folder->path.substr(0, 2))) return {};
  return {folder->index, universal->index};
}

Lines ProgramServerGone(const Report& report) {
  const auto folder = FolderCheckOf(report, Check::ProgramFolder);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  if (!folder || folder->found || !universal || !IsNetworkPath(universal->second)) return {};
  if (!OnDriveLetter(folder->path) && !IsNetworkPath(folder->path)) return {};
  return {folder->index, universal->index};
}

Lines LicenceDriveBroken(const Report& report) {
  const auto folders = Licence(report);
  if (!folders || folders->asRead.found || !folders->universal.found) return {};
  if (!OnDriveLetter(folders->asRead.path) || !IsNetworkPath(folders->universal.path)) return {};
  return {folders->asRead.index, folders->universal.index};
}

// Missing both ways under a network name; the UNC drive comparison tells whose server it is.
Lines LicenceUnreachable(const Report& report, bool programsServer) {
  const auto folders = Licence(report);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  if (!folders || folders->asRead.found || folders->universal.found || !universal) return {};
  if (!IsNetworkPath(folders->universal.path) || universal->equal != programsServer) return {};
  return {folders->asRead.index, folders->universal.index, universal->index};
}

Lines LicenceShareUnreachable(const Report& report) { return LicenceUnreachable(report, true); }
Lines LicenceServerUnreachable(const Report& report) { return LicenceUnreachable(report, false); }

// The failed lines of a write test with one of these messages. Reading and deleting follow a
// successful creation only, so their failures need no further test.
Lines WriteTestLines(const Report& report, Check test,
                     std::initializer_list<std::string_view> messages) {
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

Lines LicenceNotWritable(const Report& report) {
  // The write test uses the folder as read; found only as UNC, it is another rule's case.
  const auto folder = FolderCheckOf(report, Check::LicenceFolder);
  Lines lines = WriteTestLines(report, Check::LicenceWriteTest, {texts::kCreationFailed});
  if (!folder || !folder->found || lines.empty()) return {};
  lines.insert(lines.begin(), folder->index);
  return lines;
}

Lines ReadsIntercepted(const Report& report) {
  Lines lines;
  for (Check test : {Check::LicenceWriteTest, Check::ProjectWriteTest}) {
    const Lines found =
        WriteTestLines(report, test, {report::kReadingFileFailed, texts::kContentsError});
    lines.insert(lines.end(), found.begin(), found.end());
  }
  return lines;
}

Lines TestFileLeft(const Report& report) {
  Lines lines;
  for (Check test : {Check::LicenceWriteTest, Check::ProjectWriteTest}) {
    for (std::size_t n = 0; const auto index = CheckLine(report, test, n); ++n) {
      const std::string_view message = Message(report, *index);
      if (Failed(report, *index) &&
          (message == texts::kDeletionFailed || EndsWith(message, texts::kIsNotDeleted))) {
        lines.push_back(*index);
      }
    }
  }
  return lines;
}

Lines NotInstalled(const Report& report) {
  const auto setting = CheckLine(report, Check::ProgramFolder);
  if (!setting || !Failed(report, *setting)) return {};
  const std::string_view message = Message(report, *setting);
  if (!StartsWith(message, "HKEY_LOCAL_MACHINE\\") ||
      !EndsWith(message, "\\Path=     ...missing")) {
    return {};
  }
  return {*setting};
}

Lines MakerFolderIsRoot(const Report& report) {
  const auto search = CheckLine(report, Check::MakerFolderSearch);
  if (!search || !Failed(report, *search)) return {};
  const std::string ending =
      std::string(texts::kSearchFailed) + "2" + std::string(texts::kTopmostHint);
  const std::string_view message = Message(report, *search);
  if (!EndsWith(message, ending)) return {};
  const std::string_view path = message.substr(0, message.size() - ending.size());
  if (!EndsWith(path, "\\")) return {};
  return {*search};
}

Lines LicenceOnOtherServer(const Report& report) {
  const auto program = FolderCheckOf(report, Check::ProgramFolder);
  const auto asRead = ComparisonOf(report, Check::LicenceDrive);
  const auto universal = ComparisonOf(report, Check::LicenceDriveUnc);
  // Both folders must be there: a comparison with a missing one says nothing of the servers.
  const auto licence = Licence(report);
  if (!licence || (!licence->asRead.found && !licence->universal.found)) return {};
  if (!program || !program->found || !asRead || !universal) return {};
  if (asRead->equal || universal->equal) return {};
  return {asRead->index, universal->index};
}

Lines ProjectFolderProblem(const Report& report) {
  Lines lines;
  if (const auto folder = FolderCheckOf(report, Check::ProjectFolder); folder && !folder->found) {
    lines.push_back(folder->index);
  }
  const Lines creation = WriteTestLines(report, Check::ProjectWriteTest, {texts::kCreationFailed});
  lines.insert(lines.end(), creation.begin(), creation.end());
  return lines;
}

constexpr std::array kRules = {
    Rule{"licence-drive-not-connected", "Licence folder: drive letter not connected here",
         "The licence folder is on a drive letter and missing, and its \"As UNC\" check names the "
         "same drive-letter path: this session knows no network name for that letter, so the "
         "drive is not connected here. Typical of a run with \"Run as administrator\", or of a "
         "lost mapping. It does not mean that the server is down.",
         "Reconnect the drive, or run \"Store drive map...\" in a normal run and then "
         "\"Convert to UNC...\" with \"Run as administrator\".",
         LicenceDriveNotConnected},
    Rule{"program-drive-not-connected", "Program folder: drive letter not connected here",
         "The program folder is on a drive letter and missing, and the program's UNC drive in the "
         "licence drive comparison is still that letter: this session knows no network name for "
         "it, so the drive is not connected here. Typical of a run with \"Run as administrator\", "
         "or of a lost mapping.",
         "Reconnect the drive, or run \"Store drive map...\" in a normal run and then "
         "\"Convert to UNC...\" with \"Run as administrator\".",
         ProgramDriveNotConnected},
    Rule{"program-server-gone", "Program folder: its server not reachable",
         "The program folder lies on a network share, by its UNC name or by a connected drive "
         "letter, and is missing, so its ini file and the licence setting are missing too: the "
         "server is gone or does not answer, the way to it is cut, or the share was removed.",
         "Check that the program's server is running and reachable from this workstation; if "
         "the program has moved, correct its Path setting.",
         ProgramServerGone},
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
         LicenceShareUnreachable},
    Rule{"licence-server-unreachable", "Licence folder: its server not reachable",
         "The licence folder is missing both by its path and as UNC, on another server than the "
         "program's (the UNC drive comparison says \"<>\"): suspect that server, or the way to "
         "it.",
         "Check that the licence folder's server is running and reachable from this workstation.",
         LicenceServerUnreachable},
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

}  // namespace

std::span<const Rule> Rules() { return kRules; }

std::vector<Finding> FindingsOf(const Report& report) {
  std::vector<Finding> findings;
  for (const Rule& rule : kRules) {
    Lines lines = rule.match(report);
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    if (!lines.empty()) findings.push_back({&rule, std::move(lines)});
  }
  return findings;
}

}  // namespace vorlix::summary
