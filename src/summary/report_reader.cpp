#include "summary/report_reader.h"

#include <cctype>
#include <cstdint>

#include "common/text_lines.h"
#include "report/file_access.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/report_texts.h"
#include "summary/report_names.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

const std::array<CheckInfo, kCheckCount> kChecks = {{
    {Check::MakerFolder, "maker folder", false},
    {Check::MakerFolderSearch, "maker folder search", false},
    {Check::ProgramFolder, "program folder", false},
    {Check::ProgramFiles, "program files", false},
    {Check::IniValues, "ini values", false},
    {Check::LicenceSetting, "licence setting", false},
    {Check::LicenceFolder, "licence folder", false},
    {Check::LicenceFolderUnc, "licence folder as UNC", false},
    {Check::VirtualisedIni, "virtualised ini", true},
    {Check::LicenceDrive, "licence drive", false},
    {Check::LicenceDriveUnc, "licence drive as UNC", false},
    {Check::LicenceWriteTest, "licence folder write test", false},
    {Check::ProjectSetting, "project setting", false},
    {Check::ProjectFolder, "project folder", false},
    {Check::ProjectWriteTest, "project write test", false},
    {Check::FileFormatSettings, "file format settings", true},
}};

namespace {

namespace texts = report::texts;
using report::kBannerPrefix;
using report::kFailedPrefix;
using report::kPassedPrefix;
using report::kRuleLine;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Code page 1252 from 0x80 to 0x9F; the rest of the page is Latin-1. Unassigned bytes are kept
// as the control characters Windows maps them to.
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point are no UTF-8.
    static constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  TextLines reader{std::string(text)};
  while (auto line = reader.ReadLine()) lines.push_back(std::move(*line));
  return lines;
}

// The heading every report opens with: an empty line, the banner, the rule, "Program : ".
// Returns the reason when the lines are no diagnostic report.
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

// What the name of a collected report adds: who ran it, and when, where the content does not
// tell.
void NameFromFile(Report& report) {
  const auto parts = ParseReportName(report.fileName);
  if (!parts || !SameTextIgnoringCase(parts->program, report.program)) return;
  if (report.computer.empty()) {
    // File names come in the system's ANSI code page.
    report.computer = Cp1252ToUtf8(parts->computer);
    report.user = Cp1252ToUtf8(parts->user);
  }
  if (!report.time.Known()) {
    if (const auto time = TimeFromStamp(parts->stamp)) report.time = *time;
  }
}

ReadResult FromLines(std::string_view path, std::vector<std::string> texts) {
  ReadResult result;
  if (std::string problem = HeadingProblem(texts); !problem.empty()) {
    result.skipReason = "not a diagnostic report: " + problem;
    return result;
  }
  Report report;
  report.path = path;
  report.fileName = FileNameOf(path);
  for (std::string& text : texts) report.lines.push_back({std::move(text), {}, {}});
  TakeHeading(report);
  ClassifyLines(report);
  result.report = std::move(report);
  return result;
}

ReadResult FromJson(std::string_view path, std::string_view content) {
  report::json::Document document;
  try {
    document = report::json::Read(content);
  } catch (const report::json::FormatError& error) {
    return {std::nullopt, std::string("not a report's JSON: ") + error.what()};
  }
  std::vector<std::string> texts;
  texts.reserve(document.lines.size());
  for (report::json::Line& line : document.lines) texts.push_back(std::move(line.text));
  ReadResult result = FromLines(path, std::move(texts));
  if (!result.report) return result;
  // The states come from the texts, as for a text report, so that both forms of one report
  // give the same row; the JSON form adds who ran it.
  Report& report = *result.report;
  report.computer = std::move(document.computer);
  report.user = std::move(document.user);
  if (!document.program.empty()) report.program = std::move(document.program);
  if (const auto time = TimeFromIso(document.time)) report.time = *time;
  if (!document.level.empty()) report.level = std::move(document.level);
  NameFromFile(report);
  return result;
}

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
    Fold();
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

  void Fold() {
    report_.states.fill(CheckState::Absent);
    report_.failedLines = 0;
    for (const ReportLine& line : report_.lines) {
      if (line.verdict == CheckState::Failed) ++report_.failedLines;
      if (!line.check || line.verdict == CheckState::Absent) continue;
      CheckState& state = report_.states[static_cast<std::size_t>(*line.check)];
      if (line.verdict == CheckState::Failed || state == CheckState::Absent) state = line.verdict;
    }
    if (report_.level.empty()) {
      const bool full = report_.State(Check::VirtualisedIni) != CheckState::Absent ||
                        report_.State(Check::FileFormatSettings) != CheckState::Absent;
      report_.level = full ? "Full" : "Normal";
    }
  }

  Report& report_;
  std::optional<Check> current_;
  Phase phase_ = Phase::Other;
  int checksInPhase_ = 0;
  bool iniListing_ = false;
};

}  // namespace

void ClassifyLines(Report& report) { Classifier(report).Run(); }

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const std::uint32_t code = byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> TextReportToUtf8(std::string_view bytes,
                                            std::optional<int> twinCodePage) {
  int codePage = twinCodePage.value_or(kTextReportCodePage);
  if (StartsWith(bytes, kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
    codePage = kUtf8CodePage;
  }
  // What claims to be UTF-8 and is not is read in the family's code page, not dropped.
  if (codePage == kUtf8CodePage) return IsUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
  if (codePage != kTextReportCodePage) return std::nullopt;
  return Cp1252ToUtf8(bytes);
}

ReadResult ReadReport(std::string_view path, std::string_view content,
                      std::optional<int> twinCodePage) {
  if (content.size() > kMaxReportBytes) return {std::nullopt, std::string(kTooLarge)};
  std::string_view body = content;
  if (StartsWith(body, kUtf8Mark)) body.remove_prefix(kUtf8Mark.size());
  const auto first = body.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && body[first] == '{') return FromJson(path, content);
  const std::optional<std::string> utf8 = TextReportToUtf8(content, twinCodePage);
  if (!utf8) {
    return {std::nullopt, "written in code page " + std::to_string(*twinCodePage) +
                              ", which only its JSON twin gives in full"};
  }
  ReadResult result = FromLines(path, SplitLines(*utf8));
  if (result.report) NameFromFile(*result.report);
  return result;
}

}  // namespace vorlix::summary
