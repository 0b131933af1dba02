#pragma once

#include <string>

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "report/report_driver.h"
#include "support/expected_reports.h"
#include "support/report_lines.h"

namespace vorlix::testing {

inline Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline constexpr const char* kServerIni = "C:\\Prog\\Ostrelan\\Ostrelan.Ini";

// An installed Ostrelan: program folder on C:, licence folder on the mapped drive S:.
struct InstalledMachine {
  InstalledMachine() {
    auto& reg = machine.registry;
    reg.SetString(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\Tarnwick",
                  "TarnWickPath", "C:\\Tarnwick");
    reg.SetString(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan", "Path",
                  "C:\\Prog\\Ostrelan");
    reg.SetString(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan",
                  "ProgramName", "Ostrelan 7");
    reg.SetString(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan",
                  "SectionsFormat", "3");
    reg.SetString(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\Ostrelan",
                  "SectionsRelease", "");
    reg.SetString(platform::RegistryRoot::CurrentUser, "Software\\Tarnwick\\Tarnwick",
                  "TarnWickProjectPath", "C:\\Projects");
    machine.profile.Set(kServerIni, "Ostrelan", "LicenseFolder", "S:\\Licence");
    machine.profile.Set(kServerIni, "Ostrelan", "Users", "5");
    auto& fs = machine.files;
    fs.AddFolder("C:\\Tarnwick");
    fs.AddFile("C:\\Prog\\Ostrelan\\Ostrelan.exe", "MZ");
    fs.AddFile("C:\\Prog\\Ostrelan\\Ostrelan.Ini", "[Ostrelan]\r\n");
    fs.AddFolder("S:\\Licence");
    fs.AddFile("S:\\Licence\\Ostrelan.ini", "[Ostrelan]\r\nUsers=5\r\n");
    fs.AddFile("S:\\Licence\\licence.dat", std::string(100, 'L'));
    fs.AddFolder("\\\\lic-server\\licences\\Licence");
    fs.AddFolder("C:\\Projects");
    machine.network.connections["S:"] = "\\\\lic-server\\licences";
  }

  // The lines of a report and what the driver recorded of each.
  struct Written {
    Lines lines;
    std::vector<report::LineRecord> records;
  };
  Written Write(int level, const std::string& program = "Ostrelan") {
    // The other level beforehand: the report must set its own.
    CapturedReport report(3 - level);
    report::DiagnosticReport(machine.platform).Run(report.file(), program, level);
    EXPECT_EQ(report::ReportLevel, level);
    return {report.Lines(), report.file().Records()};
  }
  Lines Report(int level, const std::string& program = "Ostrelan") {
    return Write(level, program).lines;
  }

  fakes::FakeMachine machine;
};

// Time=1008795648 is 1 Jan 2010 00:00:00, the fake's time stamp: FAT date 15393, time 0.
inline const Lines kInstalledNormal = Concat({
    {"",
     "Vorlix  -  Tarnwick network diagnostic tool  -  8/12/2026 14:05:09",
     kRule,
     "Program : Ostrelan",
     "",
     "Vorlix.exe",
     "   Path     ='C:\\Tools\\Vorlix.exe'",
     "   Drive    ='C:'",
     "   UNCPath  ='C:\\Tools\\Vorlix.exe'",
     "   UNCDrive ='C:'",
     "Lookup TarnwickPath in registry...",
     "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnWickPath=C:\\Tarnwick",
     "Checking TarnwickPath...",
     "   Passed: C:\\Tarnwick ...found",
     "Searching for TarnwickPath...",
     "   Passed: C:\\Tarnwick ...search succesful",
     "Lookup Ostrelan Path in registry...",
     "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=C:\\Prog\\Ostrelan",
     "Checking program path...",
     "   Passed: C:\\Prog\\Ostrelan ...found",
     "Checking program files...",
     "   Passed: C:\\Prog\\Ostrelan\\Ostrelan.exe ...found",
     "   Passed: C:\\Prog\\Ostrelan\\Ostrelan.ini ...found",
     "Contents of C:\\Prog\\Ostrelan\\Ostrelan.ini",
     "   Passed: LicenseFolder=S:\\Licence",
     "   Passed: Users=5",
     "Checking licence folder...",
     "   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=S:\\Licence",
     "   Passed: S:\\Licence ...found",
     "   As UNC:",
     "   Passed: \\\\lic-server\\licences\\Licence ...found",
     "Checking licence folder drive...",
     "   FAILED: 'S:' <> 'C:'",
     "   As UNC:",
     "   FAILED: '\\\\LIC-SERVER' <> 'C:'",
     "Creating file in licence folder..."},
    AccessPassed("S:\\Licence\\az193201.txt"),
    {"Contents of licence folder...", "   Path=S:\\Licence\\*.*",
     "   Files:", "      Time=1008795648 Size=       0 Attr=      16 Name=.",
     "      Time=1008795648 Size=       0 Attr=      16 Name=..",
     "      Time=1008795648 Size=      21 Attr=      32 Name=Ostrelan.ini",
     "      Time=1008795648 Size=     100 Attr=      32 Name=licence.dat",
     "Checking project folder",
     "   Passed: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=C:\\Projects",
     "   Passed: C:\\Projects ...found", "Creating file in project folder"},
    AccessPassed("C:\\Projects\\az193201.txt"),
    {"", kRule, "End of report"},
});

}  // namespace vorlix::testing
