#include "drivemap/drive_map_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drivemap/network_drive_list.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_network.h"

namespace vorlix::drivemap {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kMap = "C:\\Tools\\Vorlix.txt";

class DriveMapFile : public ::testing::Test {
 protected:
  TNetworkDriveList Live(std::map<std::string, std::string> connections) {
    network.connections = std::move(connections);
    TNetworkDriveList list;
    list.ReadCurrentMappings(network);
    return list;
  }
  TNetworkDriveList Loaded(const std::string& content) {
    files.AddFile(kMap, content);
    TNetworkDriveList list;
    list.LoadFromFile(files, kMap);
    return list;
  }

  fakes::FakeFileSystem files;
  fakes::FakeNetworkNames network;
};

TEST_F(DriveMapFile, NameIsTheExecutableWithTxt) {
  EXPECT_EQ(DriveMapFileName(files), kMap);
  files.executable = "D:\\My.Tools\\vorlix";
  EXPECT_EQ(DriveMapFileName(files), "D:\\My.Tools\\vorlix.txt");
  files.executable = "D:\\Tools\\vorlix.1.32.EXE";
  EXPECT_EQ(DriveMapFileName(files), "D:\\Tools\\vorlix.1.32.txt");
}

TEST_F(DriveMapFile, RoundTripWithCrLfAfterEveryLine) {
  const auto saved = Live({{"S:", "\\\\fs1\\shared"}, {"P:", "\\\\fs1\\projects"}});
  saved.SaveToFile(files, kMap);
  EXPECT_EQ(files.ReadAll(kMap), "P:=\\\\fs1\\projects\r\nS:=\\\\fs1\\shared\r\n");

  TNetworkDriveList loaded;
  loaded.LoadFromFile(files, kMap);
  EXPECT_EQ(loaded.LocalNames(), saved.LocalNames());
  EXPECT_EQ(loaded.RemoteNames(), saved.RemoteNames());
  EXPECT_THAT(loaded.SkippedLines(), IsEmpty());
}

TEST_F(DriveMapFile, EmptyTableGivesAZeroByteFileOverAnOldMap) {
  files.AddFile(kMap, "P:=\\\\old\\share\r\n");
  Live({}).SaveToFile(files, kMap);
  EXPECT_EQ(files.ReadAll(kMap), "");
  EXPECT_THAT(files.FilesUnder("C:\\Tools"), ElementsAre("Vorlix.exe", "Vorlix.txt"));
}

TEST_F(DriveMapFile, HandWrittenLowerCaseLineWithTrailingBackslash) {
  const auto list = Loaded("p:=\\\\fs1\\projects\\\r\n");
  EXPECT_THAT(list.LocalNames(), ElementsAre("p:"));
  EXPECT_THAT(list.RemoteNames(), ElementsAre("\\\\fs1\\projects"));
  EXPECT_EQ(list.ToUNC("P:\\Data"), "\\\\fs1\\projects\\Data");
}

TEST_F(DriveMapFile, LastLineWithoutLineEndAndBareLineFeedsAreRead) {
  const auto list = Loaded("P:=\\\\fs1\\projects\nS:=\\\\fs1\\shared\\sub");
  EXPECT_THAT(list.LocalNames(), ElementsAre("P:", "S:"));
  EXPECT_THAT(list.RemoteNames(), ElementsAre("\\\\fs1\\projects", "\\\\fs1\\shared\\sub"));
}

TEST_F(DriveMapFile, LinesOutsideTheFormatGiveNoEntryAndAreKeptWithTheirReason) {
  const auto list = Loaded(
      "\r\n"                      // 1
      "   \r\n"                   // 2
      "P:\r\n"                    // 3
      "P:=\r\n"                   // 4
      "1:=\\\\fs1\\x\r\n"         // 5
      "PQ=\\\\fs1\\x\r\n"         // 6
      "P:\\\\\\fs1\\x\r\n"        // 7
      "P:=fs1\\x\r\n"             // 8
      "P:=\\\\fs1\r\n"            // 9
      "P:=\\\\fs1\\\\\r\n"        // 10
      "P:=C:\\Data\r\n"           // 11
      "S:=\\\\fs1\\shared\r\n");  // 12, the only good one
  EXPECT_THAT(list.LocalNames(), ElementsAre("S:"));
  EXPECT_THAT(list.RemoteNames(), ElementsAre("\\\\fs1\\shared"));
  const auto& skipped = list.SkippedLines();
  ASSERT_EQ(skipped.size(), 11u);
  const char* reasons[] = {"blank line",
                           "blank line",
                           "too short",
                           "too short",
                           "no drive letter and colon",
                           "no drive letter and colon",
                           "no '=' after the drive",
                           "network name not in the form \\\\server\\share",
                           "network name not in the form \\\\server\\share",
                           "network name not in the form \\\\server\\share",
                           "network name not in the form \\\\server\\share"};
  for (std::size_t i = 0; i < skipped.size(); ++i) {
    EXPECT_EQ(skipped[i].number, static_cast<int>(i + 1));
    EXPECT_EQ(skipped[i].reason, reasons[i]) << "line " << i + 1;
  }
  EXPECT_EQ(skipped[7].text, "P:=fs1\\x");
  // No empty drive name: an empty path stays empty and is not a mapped drive.
  EXPECT_FALSE(list.IsMappedDrive(""));
  EXPECT_EQ(list.ToUNC(""), "");
  EXPECT_FALSE(list.IsMappedDrive("P:\\Data"));
}

TEST_F(DriveMapFile, LineLongerThan255IsRefusedWholeAndNeverUsed) {
  const std::string fits = "P:=\\\\srv\\" + std::string(255 - 9, 'f');
  const std::string tooLong = "Q:=\\\\srv\\" + std::string(256 - 9, 'q');
  ASSERT_EQ(fits.size(), 255u);
  ASSERT_EQ(tooLong.size(), 256u);
  const auto list = Loaded(fits + "\r\n" + tooLong + "\r\n");
  ASSERT_THAT(list.LocalNames(), ElementsAre("P:"));
  ASSERT_EQ(list.RemoteNames().size(), 1u);
  EXPECT_EQ(list.RemoteNames()[0], fits.substr(3));
  ASSERT_EQ(list.SkippedLines().size(), 1u);
  EXPECT_EQ(list.SkippedLines()[0].number, 2);
  EXPECT_EQ(list.SkippedLines()[0].reason, "longer than 255 characters");
  EXPECT_EQ(list.SkippedLines()[0].text, tooLong);
  EXPECT_FALSE(list.IsMappedDrive("Q:\\Data"));
  EXPECT_EQ(list.ToUNC("Q:\\Data"), "Q:\\Data");
}

TEST_F(DriveMapFile, LiveNameAtTheLimitIsWrittenWholeButNotTakenBack) {
  const std::string longName = "\\\\srv\\" + std::string(300, 'n');
  Live({{"Q:", longName}, {"S:", "\\\\fs1\\shared"}}).SaveToFile(files, kMap);
  EXPECT_EQ(files.ReadAll(kMap), "Q:=" + longName.substr(0, 255) + "\r\nS:=\\\\fs1\\shared\r\n");
  TNetworkDriveList list;
  list.LoadFromFile(files, kMap);
  EXPECT_THAT(list.LocalNames(), ElementsAre("S:"));
  EXPECT_FALSE(list.IsMappedDrive("Q:\\x"));
}

TEST_F(DriveMapFile, LoadingClearsTheTableAndTheSkippedLines) {
  TNetworkDriveList list = Live({{"T:", "\\\\t\\t"}});
  files.AddFile("C:\\first.txt", "bad\r\n");
  list.LoadFromFile(files, "C:\\first.txt");
  EXPECT_THAT(list.LocalNames(), IsEmpty());
  EXPECT_EQ(list.SkippedLines().size(), 1u);
  files.AddFile("C:\\second.txt", "S:=\\\\fs1\\shared\r\n");
  list.LoadFromFile(files, "C:\\second.txt");
  EXPECT_THAT(list.LocalNames(), ElementsAre("S:"));
  EXPECT_THAT(list.SkippedLines(), IsEmpty());
}

class FailedSave : public DriveMapFile {
 protected:
  void SetUp() override { files.AddFile(kMap, kOld); }
  // Saves two drives and returns the error it raised.
  DriveMapError SaveFails() {
    const auto list = Live({{"P:", "\\\\fs1\\projects"}, {"S:", "\\\\fs1\\shared"}});
    try {
      list.SaveToFile(files, kMap);
    } catch (const DriveMapError& error) {
      return error;
    }
    ADD_FAILURE() << "no error";
    return DriveMapError("", 0);
  }
  void ExpectOldMapKept() {
    EXPECT_EQ(files.ReadAll(kMap), kOld);
    EXPECT_THAT(files.FilesUnder("C:\\Tools"), ElementsAre("Vorlix.exe", "Vorlix.txt"));
  }
  const std::string kOld = "P:=\\\\old\\share\r\n";
};

TEST_F(FailedSave, HalfWayThroughKeepsTheOldMap) {
  files.writeBudget = 10;
  const auto error = SaveFails();
  EXPECT_EQ(error.code(), 112u);
  EXPECT_STREQ(error.what(),
               "File :'C:\\Tools\\Vorlix.txt' Not Created. I/O error 112. Nothing was changed.");
  ExpectOldMapKept();
}

TEST_F(FailedSave, ReadOnlyFolderKeepsTheOldMap) {
  files.failCreateIn.insert("c:\\tools");
  EXPECT_EQ(SaveFails().code(), 5u);
  ExpectOldMapKept();
}

TEST_F(FailedSave, RefusedReplaceKeepsTheOldMap) {
  files.failReplace.insert("c:\\tools\\vorlix.txt");
  EXPECT_EQ(SaveFails().code(), 5u);
  ExpectOldMapKept();
}

TEST_F(DriveMapFile, UnreadableMapRaisesAClearErrorAndLeavesTheTableEmpty) {
  files.AddFile(kMap, "S:=\\\\fs1\\shared\r\n");
  files.failRead.insert("c:\\tools\\vorlix.txt");
  TNetworkDriveList list = Live({{"T:", "\\\\t\\t"}});
  try {
    list.LoadFromFile(files, kMap);
    FAIL() << "no error";
  } catch (const DriveMapError& error) {
    EXPECT_EQ(error.code(), 5u);
    EXPECT_STREQ(
        error.what(),
        "File :'C:\\Tools\\Vorlix.txt' Cannot Be Read. I/O error 5. Nothing was converted.");
  }
  EXPECT_THAT(list.LocalNames(), IsEmpty());
  EXPECT_THAT(list.RemoteNames(), IsEmpty());
}

}  // namespace
}  // namespace vorlix::drivemap
