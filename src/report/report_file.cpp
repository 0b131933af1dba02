#include "report/report_file.h"

#include <utility>

#include "common/place.h"
#include "common/short_string.h"
#include "common/text.h"
#include "report/report_texts.h"

namespace vorlix::report {

int ReportLevel = 1;

ReportFile::ReportFile(std::unique_ptr<platform::TextWriter> writer) : writer_(std::move(writer)) {}

void ReportFile::Write(std::string_view text, LineRecord record) {
  // One buffer for every line: a report of a large folder writes hundreds of thousands.
  line_.assign(text);
  line_.append("\r\n");
  writer_->Write(line_);
  records_.push_back(record);
}

void ReportFile::WriteLine(std::string_view text, CheckState verdict) {
  Write(text, {check_, verdict, {}});
}

void ReportFile::WriteTitle(std::string_view text) { Write(text, {}); }

void ReportFile::BeginSection(std::string_view heading, std::optional<Check> check) {
  WriteTitle(heading);
  check_ = check;
  if (headings_) headings_(heading);
}

void ReportFile::NoteFacts(const PlaceFacts& facts) {
  if (!records_.empty()) records_.back().facts = facts;
}

void ReportFile::Close() { writer_->Close(); }

void WriteCheckLine(ReportFile& file, int level, std::string_view message, bool passed) {
  if (level > ReportLevel) return;
  std::string line(passed ? kPassedPrefix : kFailedPrefix);
  line.append(Short(message));
  file.WriteLine(line, passed ? CheckState::Passed : CheckState::Failed);
}

std::string PathDrive(std::string_view path) {
  const Place place = PlaceOf(path);
  if (place.kind != Place::Kind::Share) return place.name;
  // A share's server: "\\SERVER", before the share's one separator.
  return Short(AsciiUpper(std::string_view(place.name).substr(0, place.name.rfind('\\'))));
}

std::string DateTimeText(platform::Clock& clock) {
  const platform::LocalTime now = clock.Now();
  std::string text = clock.ShortDate(now);
  const bool midnight = now.hour == 0 && now.minute == 0 && now.second == 0 && now.millisecond == 0;
  if (!midnight) {
    text += ' ';
    text += clock.LongTime(now);
  }
  return text;
}

std::string BannerLine(platform::Clock& clock) {
  return std::string(kBannerPrefix) + DateTimeText(clock);
}

void WriteHeading(ReportFile& file, platform::Clock& clock) {
  file.WriteTitle("");
  file.WriteTitle(BannerLine(clock));
  file.WriteTitle(kRuleLine);
}

void WriteProgramHeading(ReportFile& file, platform::Clock& clock, std::string_view program) {
  WriteHeading(file, clock);
  file.WriteTitle(Join({texts::kProgramLine, program}));
  file.WriteTitle("");
}

std::string UnsignedText(std::uint32_t value) { return std::to_string(value); }

std::string SignedText(std::int32_t value) { return std::to_string(value); }

std::string SignedText8(std::int32_t value) {
  std::string text = std::to_string(value);
  if (text.size() < 8) text.insert(0, 8 - text.size(), ' ');
  return text;
}

}  // namespace vorlix::report
