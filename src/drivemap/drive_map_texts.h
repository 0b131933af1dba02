#pragma once

#include <string_view>

// Every text that the drive map commands show or write, in one place.
namespace vorlix::drivemap::texts {

// Dialogs of "&Store drive map...".
inline constexpr std::string_view kFilePrefix = "File :'";
inline constexpr std::string_view kExistsOverwrite = "' Exists. Overwrite?";
inline constexpr std::string_view kCreated = "' Created.";

// Dialogs of "&Convert to UNC...".
inline constexpr std::string_view kAdminQuestion =
    "This option requires administrator privileges.\r\n"
    "\r\n"
    "Did you start Vorlix with 'Run as administrator'?";
inline constexpr std::string_view kRestartAsAdmin =
    "Close Vorlix and restart using 'Run as administrator'";
inline constexpr std::string_view kIsMissing = "' is missing.";
// "as as": spelling kept.
inline constexpr std::string_view kMissingAdvice =
    "You must first run Vorlix as as a normal user, and click on 'Store drive map...'.\r\n"
    "Then restart Vorlix using 'Run as administrator' and click on 'Convert to UNC'.";

// A drive map that someone else may change decides nothing an elevated run writes.
inline constexpr std::string_view kIsOwnedBy = "' is owned by ";
inline constexpr std::string_view kMayBeChangedBy = "' may be changed by ";
inline constexpr std::string_view kNotUsedNothingWritten = ", so nothing was converted.";
inline constexpr std::string_view kWouldNotBeUsed = ", so a conversion would not use it.";
inline constexpr std::string_view kMakeMapAgain =
    "Store it again as the normal user ('Store drive map...' or 'vorlixc store-map'): then only "
    "its owner, the Administrators and SYSTEM may change it.";

// Errors of the drive map file: the old map is kept, nothing is converted.
inline constexpr std::string_view kNotCreated = "' Not Created. I/O error ";
inline constexpr std::string_view kNothingChanged = ". Nothing was changed.";
inline constexpr std::string_view kCannotBeRead = "' Cannot Be Read. I/O error ";
inline constexpr std::string_view kNothingConverted = ". Nothing was converted.";

// Lines of the conversion report.
inline constexpr std::string_view kConvertingTitle = "Converting to UNC file paths";
inline constexpr std::string_view kDriveMapsTitle = "Drive maps:";
inline constexpr std::string_view kErrorWriting = "*** Error Writing *** ";
inline constexpr std::string_view kTooLongNotWritten =
    "*** Not Written, UNC Form Longer Than 255 Characters *** ";
inline constexpr std::string_view kNotTextLeftAlone = "*** Not a Text Value, Left Unchanged *** ";
inline constexpr std::string_view kIniNotFound = "Not found";
inline constexpr std::string_view kIniLineGap = "    ";  // after "<program>.Ini"
inline constexpr std::string_view kFileMissing = "FAILED: File is MISSING... ";

// A drive map line that gives no entry: "FAILED: Drive map line 3 skipped (too short): 'P:='".
inline constexpr std::string_view kSkippedLinePrefix = "FAILED: Drive map line ";
inline constexpr std::string_view kSkippedOpen = " skipped (";
inline constexpr std::string_view kSkippedClose = "): '";
inline constexpr std::string_view kSkippedEnd = "'";

// Why a drive map line gives no entry.
inline constexpr std::string_view kReasonBlank = "blank line";
inline constexpr std::string_view kReasonTooLong = "longer than 255 characters";
inline constexpr std::string_view kReasonTooShort = "too short";
inline constexpr std::string_view kReasonNoDrive = "no drive letter and colon";
inline constexpr std::string_view kReasonNoSeparator = "no '=' after the drive";
inline constexpr std::string_view kReasonNotUnc = "network name not in the form \\\\server\\share";

}  // namespace vorlix::drivemap::texts
