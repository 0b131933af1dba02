#pragma once

#include <string>
#include <string_view>

// The vocabulary of the program family whose settings Vorlix reads and repairs: where the
// programs keep their settings and under which names. Each name stands here once.
namespace vorlix::family {

// The family's own name: its registry key under Software and its section in the stores.
inline constexpr std::string_view kName = "Tarnwick";
// Where the family keeps its registry settings, under either root.
inline constexpr std::string_view kRegistryKey = "Software\\Tarnwick";
// The roots as the report's lines name them.
inline constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";
inline constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";

// Software\Tarnwick\<program>; with kName, the key the whole family shares.
inline std::string ProgramKey(std::string_view program) {
  return std::string(kRegistryKey) + "\\" + std::string(program);
}

// Value names. The registry compares names without regard to case, so kTarnWickPath and
// kTarnwickPath name one value: the report reads and shows it as "TarnWickPath", the conversion
// report as "TarnwickPath", and support staff know each report's lines as they stand.
inline constexpr std::string_view kTarnWickPath = "TarnWickPath";
inline constexpr std::string_view kTarnwickPath = "TarnwickPath";
inline constexpr std::string_view kPath = "Path";  // the program's installation folder
inline constexpr std::string_view kLicenseFolder = "LicenseFolder";
inline constexpr std::string_view kTarnWickProjectPath = "TarnWickProjectPath";
inline constexpr std::string_view kProgramName = "ProgramName";
inline constexpr std::string_view kSectionsFormat = "SectionsFormat";
inline constexpr std::string_view kSectionsRelease = "SectionsRelease";

// The program's server ini file: <Path>\<program>.Ini, section [<program>].
inline constexpr std::string_view kServerIniExtension = ".Ini";
inline std::string ServerIniName(std::string_view programPath, std::string_view program) {
  return std::string(programPath) + "\\" + std::string(program) + std::string(kServerIniExtension);
}

// The six programs of the family, in the order the window lists them. Each name is used
// unchanged as registry subkey, ini section and ini file base name.
inline constexpr std::string_view kPrograms[] = {"Ostrelan", "Brannicle", "Corvagent",
                                                 "Delmoran", "Ferlund",   "Gaspin"};

// The title of the window and of its message boxes.
inline constexpr char kTitle[] = "Vorlix - Tarnwick network diagnostic tool";

// The prefix of every temporary file the programs of the family make ("Kx*.tmp").
inline constexpr std::string_view kTempPrefix = "Kx";

}  // namespace vorlix::family
