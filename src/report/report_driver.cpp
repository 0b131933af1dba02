#include "report/report_driver.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "common/family.h"
#include "common/short_string.h"
#include "common/text.h"
#include "platform/errors.h"
#include "report/file_access.h"
#include "report/folder_listing.h"
#include "report/probes.h"
#include "report/report_settings.h"
#include "report/report_texts.h"
#include "report/universal_path.h"

namespace vorlix::report {

namespace {

using namespace texts;  // the section headings

using settings::kFamilySection;
using settings::kMachineStore;
using settings::kProgramSection;
using settings::kServerStore;
using settings::kUserStore;

constexpr int kFullLevel = 2;

constexpr std::string_view kPathLine = "   Path     ='";
constexpr std::string_view kDriveLine = "   Drive    ='";
constexpr std::string_view kUncPathLine = "   UNCPath  ='";
constexpr std::string_view kUncDriveLine = "   UNCDrive ='";
constexpr std::string_view kQuote = "'";
constexpr std::string_view kIsEmpty = " ...is empty";
constexpr std::string_view kVirtualisedLineIndent = "   ";

constexpr std::string_view kExecutableExtension = "exe";
constexpr std::string_view kIniExtension = "ini";
constexpr std::string_view kTestFileName = "az193201";
constexpr std::string_view kTestFileExtension = "txt";

// One report from heading to end; lives for one call of Run.
class ReportRun {
 public:
  ReportRun(platform::Platform& platform, ReportFile& file, const std::string& program)
      : platform_(platform),
        file_(file),
        program_(Short(program)),
        settings_(platform, program_, settings::kModeReadOnly),
        probes_(file, platform.files) {}

  void Write() {
    WriteHeading();
    WriteOwnLocation();
    CheckMakerFolder();
    CheckProgramFolder();
    CheckProgramFiles();
    ListServerSection();
    CheckLicenceFolder();
    if (ReportLevel >= kFullLevel) ListVirtualisedIni();
    CompareLicenceDrive();
    Line(kCreatingInLicenceFolder);
    TestFileAccess(file_, platform_.files, TestFile(licenceFolder_));
    Line(kContentsOfLicenceFolder);
    ListFolder(file_, platform_.files, licenceFolder_);
    CheckProjectFolder();
    if (ReportLevel >= kFullLevel) ReportFileFormatSettings();
    WriteEnd();
  }

 private:
  void Line(std::string_view text) { file_.WriteLine(text); }

  std::string Universal(std::string_view path) {
    return UniversalPath(platform_.files, platform_.network, path);
  }

  // The setting line, and the value the probes examine: "Absent" when the setting is missing.
  // One read serves both, because the server store remembers the default a read returned.
  std::string ReadAndReport(int store, int section, std::string_view ident) {
    const std::string value = settings_.ReportSetting(file_, store, section, std::string(ident));
    return TReportSettings::IsMissing(value) ? std::string(kAbsentPath) : Short(value);
  }

  static std::string TestFile(std::string_view folder) {
    return FileNameFromParts(folder, kTestFileName, kTestFileExtension);
  }

  void WriteHeading() { WriteProgramHeading(file_, platform_.clock, program_); }

  void WriteOwnLocation() {
    const std::string own = Short(platform_.files.ExecutablePath());
    const std::string universal = Universal(own);
    Line(kToolName);
    Line(Join({kPathLine, own, kQuote}));
    Line(Join({kDriveLine, PathDrive(own), kQuote}));
    Line(Join({kUncPathLine, universal, kQuote}));
    Line(Join({kUncDriveLine, PathDrive(universal), kQuote}));
  }

  void CheckMakerFolder() {
    Line(kLookupMakerFolder);
    const std::string makerFolder =
        ReadAndReport(kMachineStore, kFamilySection, family::kTarnWickPath);
    Line(kCheckingMakerFolder);
    probes_.CheckFolder(makerFolder);
    Line(kSearchingMakerFolder);
    probes_.SearchEntry(makerFolder);
  }

  void CheckProgramFolder() {
    Line(Join({kLookup, program_, kPathInRegistry}));
    programFolder_ = ReadAndReport(kMachineStore, kProgramSection, family::kPath);
    Line(kCheckingProgramPath);
    probes_.CheckFolder(programFolder_);
  }

  void CheckProgramFiles() {
    Line(kCheckingProgramFiles);
    programExecutable_ = FileNameFromParts(programFolder_, program_, kExecutableExtension);
    programIni_ = FileNameFromParts(programFolder_, program_, kIniExtension);
    probes_.CheckFile(programExecutable_);
    probes_.CheckFile(programIni_);
  }

  void ListServerSection() {
    Line(Join({kContentsOf, programIni_}));
    std::vector<std::string> values;
    settings_.ReadSectionValues(kServerStore, kProgramSection, values);
    for (const std::string& value : values) WriteCheckLine(file_, 1, value, true);
    if (values.empty()) WriteCheckLine(file_, 1, Join({programIni_, kIsEmpty}), false);
  }

  void CheckLicenceFolder() {
    Line(kCheckingLicenceFolder);
    licenceFolder_ = ReadAndReport(kServerStore, kProgramSection, family::kLicenseFolder);
    probes_.CheckFolder(licenceFolder_);
    Line(kAsUnc);
    licenceUniversal_ = Universal(licenceFolder_);
    probes_.CheckFolder(licenceUniversal_);
  }

  // The program's ini file as the licence folder holds it, line by line. Only the reading of
  // that file is guarded: a failed write of the report still ends the report.
  void ListVirtualisedIni() {
    const std::string name = FileNameFromParts(licenceFolder_, program_, kIniExtension);
    Line(Join({kCheckingVirtualisedIni, name}));
    probes_.CheckFile(name);
    if (!platform_.files.FileExists(name)) return;
    Line(Join({kContentsOf, name}));
    std::unique_ptr<platform::TextReader> reader;
    try {
      reader = platform_.files.OpenText(name);
    } catch (const InOutError&) {
      WriteCheckLine(file_, 1, kReadingFileFailed, false);
      return;
    }
    for (;;) {
      std::optional<std::string> line;
      try {
        line = reader->ReadLine();
      } catch (const InOutError&) {
        WriteCheckLine(file_, 1, kReadingFileFailed, false);
        return;
      }
      if (!line) return;
      Line(Join({kVirtualisedLineIndent, Short(*line)}));
    }
  }

  void CompareLicenceDrive() {
    Line(kCheckingLicenceDrive);
    probes_.CompareDrives(licenceFolder_, programExecutable_);
    Line(kAsUnc);
    probes_.CompareDrives(licenceUniversal_, Universal(programExecutable_));
  }

  void CheckProjectFolder() {
    Line(kCheckingProjectFolder);
    const std::string projectFolder =
        ReadAndReport(kUserStore, kFamilySection, family::kTarnWickProjectPath);
    probes_.CheckFolder(projectFolder);
    Line(kCreatingInProjectFolder);
    TestFileAccess(file_, platform_.files, TestFile(projectFolder));
  }

  void ReportFileFormatSettings() {
    Line(kSectionsFileFormat);
    for (std::string_view ident :
         {family::kProgramName, family::kSectionsFormat, family::kSectionsRelease}) {
      settings_.ReportSetting(file_, kMachineStore, kProgramSection, std::string(ident));
    }
  }

  void WriteEnd() {
    Line("");
    Line(kRuleLine);
    Line(kEndOfReport);
  }

  platform::Platform& platform_;
  ReportFile& file_;
  const std::string program_;
  TReportSettings settings_;
  PathProbes probes_;
  std::string programFolder_;
  std::string programExecutable_;
  std::string programIni_;
  std::string licenceFolder_;
  std::string licenceUniversal_;
};

}  // namespace

void DiagnosticReport::Run(ReportFile& file, const std::string& program, int level) {
  ReportLevel = level;
  ReportRun(platform_, file, program).Write();
}

}  // namespace vorlix::report
