// Writes report JSON through vorlixc's own report command on the in-memory machine, into the
// folder given, for the schema test: a passing and a failing report, every installed program,
// and a name that needs escaping.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "console/commands.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_session.h"

namespace {

using vorlix::platform::RegistryRoot;
using Words = std::vector<std::string>;

void Install(vorlix::fakes::FakeMachine& m) {
  const std::string maker = "Software\\Tarnwick\\Tarnwick";
  const std::string ini = "C:\\Prog\\Ostrelan\\Ostrelan.Ini";
  m.registry.SetString(RegistryRoot::LocalMachine, maker, "TarnWickPath", "C:\\Tarnwick");
  m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan", "Path",
                       "C:\\Prog\\Ostrelan");
  m.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Gaspin", "Path", "G:\\");
  m.registry.SetString(RegistryRoot::CurrentUser, maker, "TarnWickProjectPath", "C:\\Projects");
  m.profile.Set(ini, "Ostrelan", "LicenseFolder", "C:\\Licence & Co");
  for (const char* folder : {"C:\\Tarnwick", "C:\\Licence & Co", "C:\\Projects", "C:\\Out"}) {
    m.files.AddFolder(folder);
  }
  m.files.AddFile("C:\\Prog\\Ostrelan\\Ostrelan.exe", "MZ");
  m.files.AddFile(ini, "[Ostrelan]\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: report_json_samples FOLDER\n";
    return 2;
  }
  vorlix::fakes::FakeMachine m;
  vorlix::fakes::FakeSession session;
  vorlix::fakes::FakeStreams streams;
  vorlix::console::System system{m.files, m.registry, m.profile, m.network,
                                 m.clock, session,    streams};
  m.files.executable = "C:\\Tools\\vorlixc.exe";
  Install(m);
  const Words runs[] = {
      {"report", "Ostrelan", "--json", "C:\\Out\\normal.json"},
      {"report", "Ostrelan", "--full", "--json", "C:\\Out\\full.json"},
      {"report", "--all", "--out-dir", "C:\\Out", "--json-dir", "C:\\Out"},
  };
  for (const Words& words : runs) vorlix::console::Main(words, system);
  int written = 0;
  for (const std::string& path : m.files.AllFiles()) {
    if (!path.ends_with(".json")) continue;
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    std::ofstream(std::string(argv[1]) + "/" + name, std::ios::binary) << m.files.ReadAll(path);
    ++written;
  }
  std::cout << written << " report JSON files written\n";
  return written > 0 ? 0 : 1;
}
