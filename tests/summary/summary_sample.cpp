// Writes summaries for the browser and the CSV check, each report made by the real driver over a
// fake machine: summary_sample FOLDER. In FOLDER:
//   summary.html, summary.txt, summary.csv, all-reports.csv: six days of a few workstations;
//   share.html: 2,000 workstations x 3 days, as a collecting share holds them;
//   trend-10.html, trend-30.html, trend-90.html: trends of that many days of 2,000 workstations.
#include <fstream>
#include <iostream>
#include <sstream>

#include "summary/summary.h"
#include "summary/summary_csv.h"
#include "summary/summary_page.h"
#include "support/report_json.h"
#include "unit/summary_states.h"

namespace {

using vorlix::testing::InstalledMachine;
using vorlix::testing::Lines;
namespace summary = vorlix::summary;

std::string Text(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

void Save(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Six days of five workstations and a few files of other kinds.
void Sample(const std::string& folder) {
  vorlix::fakes::FakeFileSystem share;
  const std::string reports = "R:\\Reports\\";
  share.AddFolder(reports);

  InstalledMachine clean;
  vorlix::testing::AllPassing(clean);
  // A value that reads like markup: the page must show it as text.
  clean.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "Note", "<b>5</b> & more");
  const Lines passing = clean.Report(2);
  InstalledMachine unconnected;
  vorlix::testing::LicenceOnUnconnectedDrive(unconnected);
  unconnected.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "Note",
                                  "<b>5</b> & more");
  const Lines failing = unconnected.Report(1);
  InstalledMachine readOnly;
  vorlix::testing::ReadOnlyLicenceFolder(readOnly);
  const Lines notWritable = readOnly.Report(2);

  // Six days of five workstations: WS-101 clean throughout; WS-102 fails from the third day on;
  // WS-103 failed on the fifth day and is mended; WS-104 stopped reporting after the first
  // day; WS-105 (Delmoran, not installed) fails on the last day only. The last day's reports
  // have JSON twins, one with a user name that is not ASCII.
  const char* days[] = {"20261203", "20261204", "20261205", "20261206", "20261207", "20261208"};
  for (int d = 0; d < 6; ++d) {
    const std::string stamp = std::string(days[d]) + "-0905" + std::to_string(10 + d);
    const auto add = [&](const std::string& who, const Lines& lines) {
      share.AddFile(reports + who + "_" + stamp + ".txt", Text(lines));
    };
    add("WS-101_anna_Ostrelan", passing);
    add("WS-102_admin_Ostrelan", d >= 2 ? failing : passing);
    add("WS-103_ben_Ostrelan", d == 4 ? notWritable : passing);
    if (d == 0) add("WS-104_cleo_Ostrelan", passing);
    if (d == 5) add("WS-105_dan_Delmoran", clean.Report(1, "Delmoran"));
  }
  const std::string iso = "2026-12-08T09:05:15+01:00";
  share.AddFile(reports + "json\\WS-101_anna_Ostrelan_20261208-090515.json",
                vorlix::testing::JsonReport({"WS-101", "anna", "Ostrelan", "Full", iso}, passing));
  share.AddFile(
      reports + "json\\WS-102_admin_Ostrelan_20261208-090515.json",
      vorlix::testing::JsonReport({"WS-102", "d\\u00f6rte", "Ostrelan", "Normal", iso}, failing));
  // Whoever may write to the share may write a formula, quotes and commas.
  share.AddFile(reports + "json\\form.json",
                vorlix::testing::JsonReport({"WS-\"106\", 2nd floor", "=1+1", "Ostrelan", "Normal",
                                             "2026-12-08T09:06:00+01:00"},
                                            passing));
  // Saved from the window: no computer or user, a row of its own.
  share.AddFile(reports + "Vorlix Report.txt", Text(notWritable));
  share.AddFile(reports + "notes.txt", "Reports of the <second> floor & the lab\r\n");

  summary::SummaryOptions options;
  options.recurse = true;
  options.silentDays = 3;
  const auto result = summary::Summarise(share, {"R:\\Reports"}, options);
  std::ostringstream out;
  summary::WriteSummaryText(result, out);
  Save(folder + "/summary.txt", out.str());
  Save(folder + "/summary.html", summary::SummaryPage(result));
  Save(folder + "/summary.csv", summary::SummaryCsv(result));
  options.allReports = true;
  Save(folder + "/all-reports.csv",
       summary::SummaryCsv(summary::Summarise(share, {"R:\\Reports"}, options)));
}

// 2,000 workstations x 3 days of Ostrelan reports, as the logon script collects them (a few days
// only: the reading is slow under the sanitizers): 200 lose their licence drive on the last day,
// 40 find their licence folder read-only on the last day, 20 failed the day before and are
// mended, 40 stopped reporting after the first day (silent after one day); 40 also report Gaspin,
// which is not installed there.
void Share(const std::string& folder) {
  vorlix::fakes::FakeFileSystem share;
  const std::string reports = "R:\\Reports\\";
  share.AddFolder(reports);
  InstalledMachine clean;
  vorlix::testing::AllPassing(clean);
  InstalledMachine unconnected;
  vorlix::testing::LicenceOnUnconnectedDrive(unconnected);
  InstalledMachine readOnly;
  vorlix::testing::ReadOnlyLicenceFolder(readOnly);
  const std::string passing = Text(clean.Report(2));
  const std::string failing = Text(unconnected.Report(2));
  const std::string notWritable = Text(readOnly.Report(2));
  const std::string notInstalled = Text(clean.Report(2, "Gaspin"));
  for (int station = 0; station < 2000; ++station) {
    const int kind = station % 100;
    char who[64];
    std::snprintf(who, sizeof who, "WS-%04d_user%04d_", station, station);
    for (int day = 0; day < 3; ++day) {
      if ((kind == 98 || kind == 99) && day > 0) continue;
      const std::string* text = &passing;
      if (kind < 10 && day == 2) text = &failing;
      if ((kind == 10 || kind == 11) && day == 2) text = &notWritable;
      if (kind == 20 && day == 1) text = &failing;
      char stamp[32];
      std::snprintf(stamp, sizeof stamp, "202612%02d-08%02d%02d", day + 1, station % 60,
                    station / 60 % 60);
      share.AddFile(reports + who + "Ostrelan_" + stamp + ".txt", *text);
      if (kind == 12 || kind == 13) {
        share.AddFile(reports + who + "Gaspin_" + stamp + ".txt", notInstalled);
      }
    }
  }
  summary::SummaryOptions options;
  options.silentDays = 1;
  const auto result = summary::Summarise(share, {"R:\\Reports"}, options);
  Save(folder + "/share.html", summary::SummaryPage(result));
}

// A trend of that many days over 2,000 workstations, the most numbers a day can carry.
void Trend(const std::string& folder, int days) {
  summary::Summary result;
  for (int day = 0; day < days; ++day) {
    char name[16];
    std::snprintf(name, sizeof name, "2026%02d%02d", 9 + day / 30, 1 + day % 30);
    result.trend.push_back({name, 200 + day % 7 * 100, 2000 - day % 5});
  }
  result.trend.back().failing = 2000;
  Save(folder + "/trend-" + std::to_string(days) + ".html", summary::SummaryPage(result));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: summary_sample FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  Sample(folder);
  Share(folder);
  for (const int days : {10, 30, 90}) Trend(folder, days);
  return 0;
}
