#include "summary/classify.h"

#include <optional>

#include "report/file_access.h"
#include "report/report_file.h"
#include "report/report_texts.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

namespace texts = report::texts;
using report::kBannerPrefix;
using report::kFailedPrefix;
using report::kPassedPrefix;
using report::kRuleLine;

// Which check the lines after a heading belong to; the texts are those the driver writes.
class Classifier {
 public:
  explicit Classifier(Report& report) : report_(report) {}

  void Run() {
    auto& lines = report_.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      ReportLine& line = lines[i];
      const bool plain = line.text.empty() || line.text[0] != ' ';
      if (plain) {
        Heading(line.text);
        continue;
      }
      if (line.text == texts::kAsUnc) {
        if (phase_ == Phase::Licence) current_ = Check::LicenceFolderUnc;
        if (phase_ == Phase::LicenceDrive) current_ = Check::LicenceDriveUnc;
        line.check = current_;
        continue;
      }
      if (iniListing_) {
        // The virtualised ini file's own lines are indented copies and may read like checks;
        // only a failed read at the end of the listing is the report's.
        const bool last =
            i + 1 == lines.size() || lines[i + 1].text.empty() || lines[i + 1].text[0] != ' ';
        const bool readFailed =
            line.text == std::string(kFailedPrefix) + std::string(report::kReadingFileFailed);
        if (!(last && readFailed)) {
          line.check = current_;
          continue;
        }
      }
      const CheckState verdict = StartsWith(line.text, kPassedPrefix)   ? CheckState::Passed
                                 : StartsWith(line.text, kFailedPrefix) ? CheckState::Failed
                                                                        : CheckState::Absent;
      if (verdict != CheckState::Absent) {
        ++checksInPhase_;
        // The setting line comes first, then the folder check.
        if (phase_ == Phase::Licence && checksInPhase_ == 2) current_ = Check::LicenceFolder;
        if (phase_ == Phase::Project && checksInPhase_ == 2) current_ = Check::ProjectFolder;
      }
      line.verdict = verdict;
      line.check = current_;
    }
    FoldStates(report_);
  }

 private:
  enum class Phase { Other, Licence, LicenceDrive, Project };

  void Enter(std::optional<Check> check, Phase phase = Phase::Other) {
    current_ = check;
    phase_ = phase;
    checksInPhase_ = 0;
    iniListing_ = false;
  }
  void Keep(std::optional<Check> check) {
    current_ = check;
    iniListing_ = false;
  }

  void Heading(std::string_view text) {
    const std::optional<Check> before = current_;
    if (text == texts::kLookupMakerFolder || text == texts::kCheckingMakerFolder) {
      Enter(Check::MakerFolder);
    } else if (text == texts::kSearchingMakerFolder) {
      Enter(Check::MakerFolderSearch);
    } else if ((StartsWith(text, texts::kLookup) && EndsWith(text, texts::kPathInRegistry)) ||
               text == texts::kCheckingProgramPath) {
      Enter(Check::ProgramFolder);
    } else if (text == texts::kCheckingProgramFiles) {
      Enter(Check::ProgramFiles);
    } else if (text == texts::kCheckingLicenceFolder) {
      Enter(Check::LicenceSetting, Phase::Licence);
    } else if (StartsWith(text, texts::kCheckingVirtualisedIni)) {
      Enter(Check::VirtualisedIni);
    } else if (text == texts::kCheckingLicenceDrive) {
      Enter(Check::LicenceDrive, Phase::LicenceDrive);
    } else if (text == texts::kCreatingInLicenceFolder) {
      Enter(Check::LicenceWriteTest);
    } else if (text == texts::kCheckingProjectFolder) {
      Enter(Check::ProjectSetting, Phase::Project);
    } else if (text == texts::kCreatingInProjectFolder) {
      Enter(Check::ProjectWriteTest);
    } else if (text == texts::kSectionsFileFormat) {
      Enter(Check::FileFormatSettings);
    } else if (text == texts::kReadingBack || text == texts::kDeleting) {
      Keep(current_);  // steps of the write test under way
    } else if (StartsWith(text, texts::kContentsOf)) {
      // Which list follows depends on the section it stands in.
      if (before == Check::ProgramFiles) {
        Enter(Check::IniValues);
      } else if (before == Check::VirtualisedIni) {
        Keep(Check::VirtualisedIni);
        iniListing_ = true;
      } else {
        Enter(std::nullopt);  // the licence folder's listing holds no checks
      }
    } else {
      Enter(std::nullopt);
    }
  }

  Report& report_;
  std::optional<Check> current_;
  Phase phase_ = Phase::Other;
  int checksInPhase_ = 0;
  bool iniListing_ = false;
};

}  // namespace

std::string HeadingProblem(const std::vector<std::string>& lines) {
  std::size_t i = 0;
  if (!lines.empty() && lines[0].empty()) i = 1;
  if (lines.size() <= i || !StartsWith(lines[i], kBannerPrefix)) return "no banner line";
  if (lines.size() <= i + 1 || lines[i + 1] != kRuleLine) return "no rule line after the banner";
  if (lines.size() <= i + 2 || !StartsWith(lines[i + 2], texts::kProgramLine)) {
    return "no \"Program : \" line after the rule";
  }
  for (std::size_t k = i + 3; k < lines.size(); ++k) {
    if (lines[k] == texts::kToolName) return {};
  }
  return "a report of another kind (no \"Vorlix.exe\" section)";
}

void TakeHeading(Report& report) {
  for (const ReportLine& line : report.lines) {
    if (report.time.shown.empty() && StartsWith(line.text, kBannerPrefix)) {
      report.time = TimeAsWritten(line.text.substr(kBannerPrefix.size()));
    }
    if (StartsWith(line.text, texts::kProgramLine)) {
      report.program = line.text.substr(texts::kProgramLine.size());
      return;
    }
  }
}

void ClassifyLines(Report& report) { Classifier(report).Run(); }

void FoldStates(Report& report) {
  report.states.fill(CheckState::Absent);
  report.failedLines = 0;
  for (const ReportLine& line : report.lines) {
    if (line.verdict == CheckState::Failed) ++report.failedLines;
    if (!line.check || line.verdict == CheckState::Absent) continue;
    CheckState& state = report.states[static_cast<std::size_t>(*line.check)];
    if (line.verdict == CheckState::Failed || state == CheckState::Absent) state = line.verdict;
  }
  if (report.level.empty()) {
    const bool full = report.State(Check::VirtualisedIni) != CheckState::Absent ||
                      report.State(Check::FileFormatSettings) != CheckState::Absent;
    report.level = full ? "Full" : "Normal";
  }
}

}  // namespace vorlix::summary
