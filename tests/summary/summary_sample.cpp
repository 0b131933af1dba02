// Writes a summary page over a few reports, made by the real driver over fake machines, to a
// real file, for the browser to render: summary_sample PAGE.html
#include <fstream>
#include <iostream>
#include <sstream>

#include "summary/summary_command.h"
#include "unit/summary_states.h"

namespace {

using vorlix::testing::InstalledMachine;

std::string Text(const vorlix::testing::Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
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
  vorlix::testing::ProgramOnTheLicenceServer(clean);
  // A value that reads like markup: the page must show it as text.
  clean.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "Note", "<b>5</b> & more");
  share.AddFile(folder + "WS-101_anna_Ostrelan_20261208-090501.txt", Text(clean.Report(2)));

  InstalledMachine unconnected;
  vorlix::testing::LicenceOnUnconnectedDrive(unconnected);
  share.AddFile(folder + "WS-102_admin_Ostrelan_20261208-091733.txt", Text(unconnected.Report(1)));

  InstalledMachine other;
  vorlix::testing::ProgramOnTheLicenceServer(other);
  share.AddFile(folder + "WS-103_ben_Delmoran_20261208-093012.txt",
                Text(other.Report(1, "Delmoran")));

  InstalledMachine readOnly;
  vorlix::testing::ReadOnlyLicenceFolder(readOnly);
  share.AddFile(folder + "Vorlix Report.txt", Text(readOnly.Report(2)));

  // The clean state once more, as the JSON form; its user name is not ASCII.
  std::string json =
      "{\"tool\": \"Vorlix\", \"release\": \"1.32\", \"computer\": \"WS-104\", "
      "\"user\": \"d\\u00f6rte\", \"program\": \"Ostrelan\", \"level\": \"Normal\", "
      "\"time\": \"2026-12-08T10:02:44+01:00\", \"failed\": 1, \"lines\": [";
  const auto lines = clean.Report(1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    json += (i ? ", " : "") + std::string("{\"text\": ") + JsonString(lines[i]) + "}";
  }
  share.AddFile(folder + "WS-104_doerte_Ostrelan_20261208-100244.json", json + "]}");
  share.AddFile(folder + "notes.txt", "Reports of the <second> floor & the lab\r\n");

  std::ostringstream out;
  const int status = vorlix::summary::RunSummary({"R:\\Reports", "--html", "R:\\summary.html"},
                                                 share, out, std::cerr);
  std::cout << out.str();
  if (status == vorlix::summary::kExitBadUsage || status == vorlix::summary::kExitPageNotWritten) {
    return status;
  }
  std::ofstream(argv[1], std::ios::binary) << share.ReadAll("R:\\summary.html");
  return 0;
}
