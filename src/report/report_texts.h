#pragma once

#include <string_view>

// The fixed lines and verdicts of the diagnostic report, kept here because the report summary
// reads the very texts that the driver and the probes write.
namespace vorlix::report::texts {

// Section headings, in report order.
inline constexpr std::string_view kProgramLine = "Program : ";
inline constexpr std::string_view kToolName = "Vorlix.exe";
inline constexpr std::string_view kLookupMakerFolder = "Lookup TarnwickPath in registry...";
inline constexpr std::string_view kCheckingMakerFolder = "Checking TarnwickPath...";
inline constexpr std::string_view kSearchingMakerFolder = "Searching for TarnwickPath...";
inline constexpr std::string_view kLookup = "Lookup ";
inline constexpr std::string_view kPathInRegistry = " Path in registry...";
inline constexpr std::string_view kCheckingProgramPath = "Checking program path...";
inline constexpr std::string_view kCheckingProgramFiles = "Checking program files...";
inline constexpr std::string_view kContentsOf = "Contents of ";
inline constexpr std::string_view kCheckingLicenceFolder = "Checking licence folder...";
inline constexpr std::string_view kAsUnc = "   As UNC:";
inline constexpr std::string_view kCheckingVirtualisedIni = "Checking virtualised Ini File ";
inline constexpr std::string_view kCheckingLicenceDrive = "Checking licence folder drive...";
inline constexpr std::string_view kCreatingInLicenceFolder = "Creating file in licence folder...";
inline constexpr std::string_view kContentsOfLicenceFolder = "Contents of licence folder...";
inline constexpr std::string_view kCheckingProjectFolder = "Checking project folder";
inline constexpr std::string_view kCreatingInProjectFolder = "Creating file in project folder";
inline constexpr std::string_view kSectionsFileFormat = "Sections file format settings";
inline constexpr std::string_view kEndOfReport = "End of report";

// Verdicts of the path probes.
inline constexpr std::string_view kFound = " ...found";
inline constexpr std::string_view kIsMissing = " ...is missing";
inline constexpr std::string_view kSearchFailed = " ...search failed Reply=";
inline constexpr std::string_view kTopmostHint = " - Check that folder is not topmost";
// A drive comparison: "'C:' = 'C:'" or "'S:' <> '\\SERVER'".
inline constexpr std::string_view kDriveOpen = "'";
inline constexpr std::string_view kSameDrive = "' = '";
inline constexpr std::string_view kOtherDrive = "' <> '";
inline constexpr std::string_view kDriveClose = "'";

// Steps of the file-access test.
inline constexpr std::string_view kCreationSuccessful = "File creation successful";
inline constexpr std::string_view kCreationFailed = "File creation failed";
inline constexpr std::string_view kReadingBack = "Reading file back...";
inline constexpr std::string_view kReadSuccessful = "File read successful";
inline constexpr std::string_view kContentsCorrect = "File contents correct";
inline constexpr std::string_view kContentsError = "File contents error";
inline constexpr std::string_view kDeleting = "Deleting file...";
inline constexpr std::string_view kDeletionSuccessful = "File deletion successful";
inline constexpr std::string_view kDeletionFailed = "File deletion failed";
inline constexpr std::string_view kIsNotDeleted = " ...is not deleted";
inline constexpr std::string_view kIsDeleted = " ...is deleted";

}  // namespace vorlix::report::texts
