// Writes a summary page over the history of a few workstations, each report made by the real
// driver over a fake machine, to a real file for the browser to render: summary_sample PAGE.html
#include <fstream>
#include <iostream>
#include <sstream>

#include "summary/summary.h"
#include "summary/summary_page.h"
#include "support/report_json.h"
#include "unit/summary_states.h"

namespace {

using vorlix::testing::InstalledMachine;
using vorlix::testing::Lines;

std::string Text(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: summary_sample PAGE.html\n";
    return 2;
  }
  vorlix::fakes::FakeFileSystem share;
  const std::string folder = "R:\\Reports\\";
  share.AddFolder(folder);

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
      share.AddFile(folder + who + "_" + stamp + ".txt", Text(lines));
    };
    add("WS-101_anna_Ostrelan", passing);
    add("WS-102_admin_Ostrelan", d >= 2 ? failing : passing);
    add("WS-103_ben_Ostrelan", d == 4 ? notWritable : passing);
    if (d == 0) add("WS-104_cleo_Ostrelan", passing);
    if (d == 5) add("WS-105_dan_Delmoran", clean.Report(1, "Delmoran"));
  }
  const std::string iso = "2026-12-08T09:05:15+01:00";
  share.AddFile(folder + "json\\WS-101_anna_Ostrelan_20261208-090515.json",
                vorlix::testing::JsonReport({"WS-101", "anna", "Ostrelan", "Full", iso}, passing));
  share.AddFile(
      folder + "json\\WS-102_admin_Ostrelan_20261208-090515.json",
      vorlix::testing::JsonReport({"WS-102", "d\\u00f6rte", "Ostrelan", "Normal", iso}, failing));
  // Saved from the window: no computer or user, a row of its own.
  share.AddFile(folder + "Vorlix Report.txt", Text(notWritable));
  share.AddFile(folder + "notes.txt", "Reports of the <second> floor & the lab\r\n");

  vorlix::summary::SummaryOptions options;
  options.recurse = true;
  options.silentDays = 3;
  const auto summary = vorlix::summary::Summarise(share, {"R:\\Reports"}, options);
  std::ostringstream out;
  vorlix::summary::WriteSummaryText(summary, out);
  std::cout << out.str();
  std::ofstream(argv[1], std::ios::binary) << vorlix::summary::SummaryPage(summary);
  return 0;
}
