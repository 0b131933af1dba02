#pragma once

// Machine states for the summary's tests: each shows one pattern that a finding rule names.
#include <string>

#include "unit/installed_machine.h"

namespace vorlix::testing {

// No finding: the program lies on P:, mapped to the licence server, so the licence folder on
// S: is on the program's server as UNC (only the drive letters differ).
inline void ProgramOnTheLicenceServer(InstalledMachine& m) {
  m.machine.registry.SetString(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan",
                               "Path", "P:\\Ostrelan");
  m.machine.profile.files.clear();
  m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder", "S:\\Licence");
  m.machine.files.AddFile("P:\\Ostrelan\\Ostrelan.exe", "MZ");
  m.machine.files.AddFile("P:\\Ostrelan\\Ostrelan.Ini", "[Ostrelan]\r\n");
  m.machine.network.connections["P:"] = "\\\\lic-server\\programs";
}

// Every check passes: the licence folder lies beside the program on P:.
inline void AllPassing(InstalledMachine& m) {
  ProgramOnTheLicenceServer(m);
  m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder", "P:\\Licence");
  m.machine.files.AddFolder("P:\\Licence");
  m.machine.files.AddFile("P:\\Licence\\Ostrelan.ini", "[Ostrelan]\r\nUsers=5\r\n");
  m.machine.files.AddFolder("\\\\lic-server\\programs\\Licence");
}

// The licence folder on a letter that this session has no connection for.
inline void LicenceOnUnconnectedDrive(InstalledMachine& m) {
  ProgramOnTheLicenceServer(m);
  m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder", "L:\\Licence");
}

// The licence folder on a letter mapped to a share, or to a share of a server, that lacks it.
inline void LicenceOnDriveMappedTo(InstalledMachine& m, const std::string& share) {
  ProgramOnTheLicenceServer(m);
  m.machine.profile.Set("P:\\Ostrelan\\Ostrelan.Ini", "Ostrelan", "LicenseFolder", "T:\\Licence");
  m.machine.network.connections["T:"] = share;
}

inline void ReadOnlyLicenceFolder(InstalledMachine& m) {
  ProgramOnTheLicenceServer(m);
  m.machine.files.failCreateIn.insert(fakes::FakeFileSystem::Key("S:\\Licence"));
}

}  // namespace vorlix::testing
