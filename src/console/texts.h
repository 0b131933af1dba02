#pragma once

#include <cstddef>
#include <string_view>

#include "common/release.h"

// The console program's own texts; the reports' texts belong to the logic that writes them.
namespace vorlix::console {

inline constexpr std::string_view kToolName = "Vorlix";
inline constexpr std::string_view kRelease = VORLIX_RELEASE;
inline constexpr std::string_view kMessagePrefix = "vorlixc: ";
inline constexpr std::string_view kNewLine = "\r\n";

inline constexpr std::string_view kHelpIntro =
    "vorlixc: the Tarnwick network diagnostic tool from the command line. It writes the same\r\n"
    "report as Vorlix.exe and runs its two repair commands without dialogs.\r\n"
    "\r\n";
inline constexpr std::string_view kHelpOutro =
    "  vorlixc --help | /?     this text\r\n"
    "  vorlixc --version       the release and the program's file version\r\n"
    "\r\n"
    "Programs: Ostrelan, Brannicle, Corvagent, Delmoran, Ferlund, Gaspin (any case).\r\n"
    "Exit status: 0 done; 1 done, and a line reports a failure; 2 bad usage; 3 a file could\r\n"
    "not be read or written; 4 convert without elevation. Messages go to standard error,\r\n"
    "the report to standard output unless --out or --out-dir names a place for it.\r\n";
inline constexpr std::string_view kUsageTitle = "Usage:\r\n";
inline constexpr std::string_view kUsageOutro =
    "  vorlixc --help | /?        vorlixc --version\r\n";
inline constexpr std::string_view kFileVersionPrefix = "vorlixc.exe file version ";

inline constexpr std::string_view kReportUsage =
    "  vorlixc report PROGRAM [--full] [--out FILE | --out-dir FOLDER]\r\n"
    "                         [--json FILE | --json-dir FOLDER] [--explain]\r\n"
    "  vorlixc report --all   [--full]  --out-dir FOLDER [--json-dir FOLDER]\r\n";
inline constexpr std::string_view kReportHelp =
    "      The diagnostic report of one program, or with --all of every program installed\r\n"
    "      here, as the window's \"Create\" writes it; --full for a \"Full\" report. It goes to\r\n"
    "      standard output, to FILE, or into FOLDER as "
    "COMPUTER_USER_Program_yyyymmdd-hhmmss.txt\r\n"
    "      (an existing name gets -2, -3, ...). --json and --json-dir add a UTF-8 JSON copy\r\n"
    "      with each line's check and the likely causes. --explain then writes the likely\r\n"
    "      causes of its failures, with their repairs, to standard output.\r\n"
    "      Example: vorlixc report Ostrelan --full --out Ostrelan.txt\r\n"
    "      Example: vorlixc report --all --full --out-dir \\\\server\\vorlix-reports\r\n";
inline constexpr std::string_view kStoreMapUsage = "  vorlixc store-map [--map FILE] [--force]\r\n";
inline constexpr std::string_view kStoreMapHelp =
    "      Stores this session's mapped drive letters and their shares in the drive map file:\r\n"
    "      FILE, or vorlix.txt beside vorlixc.exe. An existing file is kept unless --force.\r\n"
    "      Example: vorlixc store-map --map \\\\server\\maps\\%COMPUTERNAME%_%USERNAME%.txt "
    "--force\r\n";
inline constexpr std::string_view kConvertUsage =
    "  vorlixc convert PROGRAM [--map FILE] [--map-owner ACCOUNT] [--out FILE]\r\n"
    "                          --yes | --dry-run\r\n";
inline constexpr std::string_view kConvertHelp =
    "      Rewrites the program's stored folders that lie on a drive of the drive map file into\r\n"
    "      UNC form and writes the conversion report. Needs an elevated prompt (\"Run as\r\n"
    "      administrator\") and --yes. --dry-run shows each value and the UNC form it would\r\n"
    "      get, writes nothing and needs no elevation. The map is used only when it is owned by\r\n"
    "      the account that runs vorlixc, the Administrators, SYSTEM or the --map-owner ACCOUNT\r\n"
    "      (DOMAIN\\user), and nobody else may change it; otherwise nothing is written (status "
    "3).\r\n"
    "      Example: vorlixc convert Ostrelan --map \\\\server\\maps\\PC042_anna.txt --dry-run\r\n"
    "      Example: vorlixc convert Ostrelan --map \\\\server\\maps\\PC042_anna.txt\r\n"
    "               --map-owner CORP\\anna --yes\r\n";
inline constexpr std::string_view kSummaryUsage =
    "  vorlixc summary PATH... [--recurse] [--html FILE] [--csv FILE] [--silent-days N]\r\n"
    "                          [--all-reports]\r\n";
inline constexpr std::string_view kSummaryHelp =
    "      Reads the reports among the files and folders given (text or JSON, saved by the\r\n"
    "      window or written by vorlixc report) and prints one line per computer, user and\r\n"
    "      program from its latest report: failing since when, mended, silent (no report for\r\n"
    "      more than N days, default 7, before the newest) or passing; then the likely cause\r\n"
    "      of each failure with its repair, and the checks that fail most often.\r\n"
    "      --all-reports gives a line per report instead. --html writes the same as one\r\n"
    "      self-contained page with the trend per day. --csv writes the rows as a table for a\r\n"
    "      spreadsheet, a column per check. Text is UTF-8.\r\n"
    "      Example: vorlixc summary \\\\server\\vorlix-reports --html summary.html\r\n";

// Reasons for bad usage.
inline constexpr std::string_view kNoCommand = "no command given";
inline constexpr std::string_view kUnknownCommand = "unknown command '";
inline constexpr std::string_view kUnknownProgram = "unknown program '";
inline constexpr std::string_view kUnknownProgramEnd =
    "'; one of Ostrelan, Brannicle, Corvagent, Delmoran, Ferlund, Gaspin";
inline constexpr std::string_view kOneProgram = "name one program, or --all";
inline constexpr std::string_view kAllAndProgram = "--all reports every program; name none";
inline constexpr std::string_view kAllNeedsOutDir = "--all needs --out-dir FOLDER";
inline constexpr std::string_view kAllTakesFolders =
    "--all writes one file per program: use --out-dir and --json-dir";
inline constexpr std::string_view kExplainOneProgram = "--explain explains one program's report";
inline constexpr std::string_view kJsonOrJsonDir = "--json and --json-dir exclude each other";
inline constexpr std::string_view kNoReportPath = "no report file or folder given";
inline constexpr std::string_view kSilentDaysNumber =
    "--silent-days needs a whole number of days, not '";
inline constexpr std::string_view kOutOrOutDir = "--out and --out-dir exclude each other";
inline constexpr std::string_view kNoProgramHere = "store-map takes no program";
inline constexpr std::string_view kConvertOneProgram = "convert needs one program";
inline constexpr std::string_view kYesOrDryRun = "convert needs --yes or --dry-run";
inline constexpr std::string_view kYesAndDryRun = "--yes and --dry-run exclude each other";
inline constexpr std::string_view kVersionAlone = "--version takes nothing more";
inline constexpr std::string_view kUnknownAccount = "no account or group is known here as '";

// Messages.
inline constexpr std::string_view kNoProgramInstalled =
    "no program of the family is installed here: no key under ";
inline constexpr std::string_view kNoProgramInstalledEnd = " names one";
inline constexpr std::string_view kWritten = "written: ";
inline constexpr std::string_view kNoNamePrefix = "the ";
inline constexpr std::string_view kComputerNameWord = "computer name";
inline constexpr std::string_view kUserNameWord = "user name";
inline constexpr std::string_view kNoNameEnd =
    " cannot be had, so a collected report cannot be named; nothing was written";
inline constexpr std::string_view kCannotWrite = "cannot write '";
inline constexpr std::string_view kMapKept = "' exists and was kept; --force replaces it";
inline constexpr std::string_view kNotElevatedMessage =
    "convert changes machine-wide settings and needs an elevated prompt (\"Run as "
    "administrator\"); nothing was changed. --dry-run shows the change without elevation.";
inline constexpr std::string_view kSystemFolderOnly =
    "Windows cannot be told to load DLLs from the system folder only; nothing was done";
inline constexpr std::string_view kDryRunLastLine = "Dry run: nothing was written.";
inline constexpr std::string_view kDefaultMapName = "vorlix.txt";
inline constexpr std::string_view kPageNotWritten = "the page cannot be written: '";
inline constexpr std::string_view kTableNotWritten = "the table cannot be written: '";
inline constexpr std::string_view kOutputIsFolder = "' is a folder";
inline constexpr std::string_view kProgressRead = "read ";
inline constexpr std::string_view kProgressFiles = " files";
inline constexpr std::size_t kProgressStep = 500;
inline constexpr int kDefaultSilentDays = 7;

}  // namespace vorlix::console
