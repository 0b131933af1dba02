#pragma once

// Whole reports as the format gives them, shared by the driver's tests (fakes and Wine) and the
// summary's reader, so that each expected text is written once.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <vector>

#include "support/report_text.h"

namespace vorlix::testing {

inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline const std::string kBanner = "Vorlix  -  Tarnwick network diagnostic tool  -  ";
inline const std::string kRule(67, '-');

// The upper-case drive of a drive-letter path.
inline std::string Upper2(const std::string& path) {
  std::string drive = path.substr(0, 2);
  for (char& c : drive) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return drive;
}

// The heading and the tool's own location, for a tool on a local drive; the banner carries
// no date and time.
inline Lines Heading(const std::string& executable, const std::string& program) {
  return {"",
          kBanner,
          kRule,
          "Program : " + program,
          "",
          "Vorlix.exe",
          "   Path     ='" + executable + "'",
          "   Drive    ='" + Upper2(executable) + "'",
          "   UNCPath  ='" + executable + "'",
          "   UNCDrive ='" + Upper2(executable) + "'"};
}

inline Lines Ending() { return {"", kRule, "End of report"}; }

// Ostrelan installed with every folder on the tool's local drive: the server ini names the
// licence folder and holds Users=5, the licence folder holds a virtualised ini with Users=7.
// The time stamps of the maker folder's search and the listing's lines are the system's.
struct InstalledState {
  std::string maker, program, licence, project;
};

inline Lines InstalledReport(const std::string& executable, const InstalledState& s, int level,
                             const Lines& stamps, const Lines& listing) {
  const bool full = level == 2;
  const std::string exe = s.program + "\\Ostrelan.exe";
  const std::string ini = s.program + "\\Ostrelan.ini";
  const std::string virtualised = s.licence + "\\Ostrelan.ini";
  const std::string machineKey = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\";
  return Heading(executable, "Ostrelan") +
         Lines{"Lookup TarnwickPath in registry...",
               "   Passed: " + machineKey + "Tarnwick\\TarnWickPath=" + s.maker,
               "Checking TarnwickPath...",
               "   Passed: " + s.maker + " ...found",
               "Searching for TarnwickPath...",
               "   Passed: " + s.maker + " ...search succesful"} +
         (full ? stamps : Lines{}) +
         Lines{"Lookup Ostrelan Path in registry...",
               "   Passed: " + machineKey + "Ostrelan\\Path=" + s.program,
               "Checking program path...",
               "   Passed: " + s.program + " ...found",
               "Checking program files...",
               "   Passed: " + exe + " ...found",
               "   Passed: " + ini + " ...found",
               "Contents of " + ini,
               "   Passed: LicenseFolder=" + s.licence,
               "   Passed: Users=5",
               "Checking licence folder...",
               "   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=" + s.licence,
               "   Passed: " + s.licence + " ...found",
               "   As UNC:",
               "   Passed: " + s.licence + " ...found"} +
         (full ? Lines{"Checking virtualised Ini File " + virtualised,
                       "   Passed: " + virtualised + " ...found", "Contents of " + virtualised,
                       "   [Ostrelan]", "   Users=7"}
               : Lines{}) +
         Lines{"Checking licence folder drive...", "   Passed: 'C:' = 'C:'",
               "   As UNC:", "   Passed: 'C:' = 'C:'", "Creating file in licence folder..."} +
         AccessPassed(s.licence + "\\az193201.txt") +
         Lines{"Contents of licence folder...", "   Path=" + s.licence + "\\*.*", "   Files:"} +
         listing +
         Lines{"Checking project folder",
               "   Passed: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=" + s.project,
               "   Passed: " + s.project + " ...found", "Creating file in project folder"} +
         AccessPassed(s.project + "\\az193201.txt") +
         (full ? Lines{"Sections file format settings",
                       "   Passed: " + machineKey + "Ostrelan\\ProgramName=Ostrelan",
                       "   Passed: " + machineKey + "Ostrelan\\SectionsFormat=4",
                       "   Passed: " + machineKey + "Ostrelan\\SectionsRelease=2024.1"}
               : Lines{}) +
         Ending();
}

// A program with no trace on the machine, at either level; the current folder is `current`.
inline Lines NotInstalledReport(const std::string& executable, const std::string& current,
                                const std::string& program, int level) {
  const bool full = level == 2;
  const std::string absentHere = current + "\\Absent";
  const std::string machineKey = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\";
  return Heading(executable, program) +
         Lines{"Lookup TarnwickPath in registry...",
               "   FAILED: " + machineKey + "Tarnwick\\TarnWickPath=     ...missing",
               "Checking TarnwickPath...", "   FAILED: Absent ...is missing",
               "Searching for TarnwickPath...",
               // ERROR_FILE_NOT_FOUND: nothing of that name in the current folder.
               "   FAILED: Absent ...search failed Reply=2 - Check that folder is not topmost",
               "Lookup " + program + " Path in registry...",
               "   FAILED: " + machineKey + program + "\\Path=     ...missing",
               "Checking program path...", "   FAILED: Absent ...is missing",
               "Checking program files...", "   FAILED: Absent\\" + program + ".exe ...is missing",
               "   FAILED: Absent\\" + program + ".ini ...is missing",
               "Contents of Absent\\" + program + ".ini",
               "   FAILED: Absent\\" + program + ".ini ...is empty", "Checking licence folder...",
               "   FAILED: " + program + ".ini [" + program + "] LicenseFolder=     ...missing",
               "   FAILED: Absent ...is missing",
               "   As UNC:", "   FAILED: " + absentHere + " ...is missing"} +
         (full ? Lines{"Checking virtualised Ini File Absent\\" + program + ".ini",
                       "   FAILED: Absent\\" + program + ".ini ...is missing"}
               : Lines{}) +
         Lines{"Checking licence folder drive...",
               "   Passed: '' = ''",
               "   As UNC:",
               "   Passed: '" + Upper2(current) + "' = '" + Upper2(current) + "'",
               "Creating file in licence folder...",
               "   FAILED: File creation failed",
               "Contents of licence folder...",
               "   Path=Absent\\*.*",
               "   Files:",
               "Checking project folder",
               "   FAILED: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=     "
               "...missing",
               "   FAILED: Absent ...is missing",
               "Creating file in project folder",
               "   FAILED: File creation failed"} +
         (full ? Lines{"Sections file format settings",
                       "   FAILED: " + machineKey + program + "\\ProgramName=     ...missing",
                       "   FAILED: " + machineKey + program + "\\SectionsFormat=     ...missing",
                       "   FAILED: " + machineKey + program + "\\SectionsRelease=     ...missing"}
               : Lines{}) +
         Ending();
}

}  // namespace vorlix::testing
