#include "drivemap/drive_map_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drivemap/drive_map_file.h"
#include "fakes/fake_platform.h"

namespace vorlix::drivemap {
namespace {

using platform::RegistryRoot;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kMap = "C:\\Tools\\Vorlix.txt";

bool Shows(const fakes::FakeDialogs::Shown& shown, const std::string& kind,
           const std::string& text) {
  return shown.kind == kind && shown.text == text;
}

MATCHER_P2(Dialog, kind, text, "") { return Shows(arg, kind, text); }

class StoreCommand : public ::testing::Test {
 protected:
  StoreCommand() { machine.network.connections = {{"P:", "\\\\fs1\\projects"}}; }
  fakes::FakeMachine machine;
};

TEST_F(StoreCommand, NewFileIsWrittenWithoutAQuestion) {
  StoreDriveMap(machine.platform);
  EXPECT_EQ(machine.files.ReadAll(kMap), "P:=\\\\fs1\\projects\r\n");
  EXPECT_THAT(machine.dialogs.shown,
              ElementsAre(Dialog("inform", "File :'C:\\Tools\\Vorlix.txt' Created.")));
}

TEST_F(StoreCommand, YesOverwritesTheExistingFile) {
  machine.files.AddFile(kMap, "S:=\\\\old\\share\r\n");
  machine.dialogs.confirmAnswers = {true};
  StoreDriveMap(machine.platform);
  EXPECT_EQ(machine.files.ReadAll(kMap), "P:=\\\\fs1\\projects\r\n");
  EXPECT_THAT(machine.dialogs.shown,
              ElementsAre(Dialog("confirm", "File :'C:\\Tools\\Vorlix.txt' Exists. Overwrite?"),
                          Dialog("inform", "File :'C:\\Tools\\Vorlix.txt' Created.")));
}

TEST_F(StoreCommand, NoLeavesTheFileUnchangedAndSaysNothingMore) {
  machine.files.AddFile(kMap, "S:=\\\\old\\share\r\n");
  machine.dialogs.confirmAnswers = {false};
  StoreDriveMap(machine.platform);
  EXPECT_EQ(machine.files.ReadAll(kMap), "S:=\\\\old\\share\r\n");
  EXPECT_EQ(machine.dialogs.shown.size(), 1u);
}

TEST_F(StoreCommand, NoNetworkDrivesStillCreatesAnEmptyFile) {
  machine.network.connections.clear();
  StoreDriveMap(machine.platform);
  EXPECT_EQ(machine.files.ReadAll(kMap), "");
  EXPECT_THAT(machine.dialogs.shown,
              ElementsAre(Dialog("inform", "File :'C:\\Tools\\Vorlix.txt' Created.")));
}

TEST_F(StoreCommand, DialogTextsAreCutTo255) {
  const std::string folder = "C:\\" + std::string(240, 'f');
  machine.files.executable = folder + "\\Vorlix.exe";
  machine.files.AddFolder(folder);
  machine.files.AddFile(folder + "\\Vorlix.txt", "old");
  machine.dialogs.confirmAnswers = {true};
  StoreDriveMap(machine.platform);
  const std::string full = "File :'" + folder + "\\Vorlix.txt' Exists. Overwrite?";
  ASSERT_EQ(machine.dialogs.shown.size(), 2u);
  EXPECT_EQ(machine.dialogs.shown[0].text, full.substr(0, 255));
  EXPECT_EQ(machine.dialogs.shown[1].text.size(), 255u);
  EXPECT_EQ(machine.files.ReadAll(folder + "\\Vorlix.txt"), "P:=\\\\fs1\\projects\r\n");
}

TEST_F(StoreCommand, ReadOnlyFolderEndsInAnErrorAndKeepsTheOldMap) {
  machine.files.AddFile(kMap, "S:=\\\\old\\share\r\n");
  machine.files.failCreateIn.insert("c:\\tools");
  machine.dialogs.confirmAnswers = {true};
  EXPECT_THROW(StoreDriveMap(machine.platform), DriveMapError);
  EXPECT_EQ(machine.files.ReadAll(kMap), "S:=\\\\old\\share\r\n");
  EXPECT_EQ(machine.dialogs.shown.size(), 1u);  // the question, no "Created."
}

class ConvertCommand : public ::testing::Test {
 protected:
  ConvertCommand() {
    machine.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Tarnwick",
                               "TarnwickPath", "S:\\Apps");
  }
  void ExpectNothingTouched() {
    EXPECT_THAT(machine.registry.opened, IsEmpty());
    EXPECT_EQ(machine.registry.GetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Tarnwick",
                                         "TarnwickPath"),
              "S:\\Apps");
    EXPECT_THAT(machine.files.FilesUnder("C:\\Temp"), IsEmpty());
  }
  fakes::FakeMachine machine;
};

TEST_F(ConvertCommand, NoToTheFirstQuestionOnlyTellsToRestart) {
  machine.files.AddFile(kMap, "S:=\\\\fs1\\shared\r\n");
  EXPECT_EQ(ConvertToUNC(machine.platform, "Ostrelan"), std::nullopt);
  EXPECT_THAT(
      machine.dialogs.shown,
      ElementsAre(Dialog("confirm",
                         "This option requires administrator privileges.\r\n\r\n"
                         "Did you start Vorlix with 'Run as administrator'?"),
                  Dialog("inform", "Close Vorlix and restart using 'Run as administrator'")));
  ExpectNothingTouched();
}

TEST_F(ConvertCommand, MissingDriveMapTellsWhatToDoAndTouchesNothing) {
  machine.dialogs.confirmAnswers = {true};
  EXPECT_EQ(ConvertToUNC(machine.platform, "Ostrelan"), std::nullopt);
  ASSERT_EQ(machine.dialogs.shown.size(), 2u);
  EXPECT_EQ(machine.dialogs.shown[1].kind, "inform");
  EXPECT_EQ(machine.dialogs.shown[1].text,
            "File :'C:\\Tools\\Vorlix.txt' is missing.\r\n\r\n"
            "You must first run Vorlix as as a normal user, and click on 'Store drive map...'.\r\n"
            "Then restart Vorlix using 'Run as administrator' and click on 'Convert to UNC'.");
  ExpectNothingTouched();
}

TEST_F(ConvertCommand, UnreadableDriveMapEndsInAnErrorAndTouchesNothing) {
  machine.files.AddFile(kMap, "S:=\\\\fs1\\shared\r\n");
  machine.files.failRead.insert("c:\\tools\\vorlix.txt");
  machine.dialogs.confirmAnswers = {true};
  EXPECT_THROW(ConvertToUNC(machine.platform, "Ostrelan"), DriveMapError);
  ExpectNothingTouched();
}

TEST_F(ConvertCommand, ReportComesBackThroughATempFileThatIsGone) {
  machine.files.AddFile(kMap, "S:=\\\\fs1\\shared\r\n");
  machine.dialogs.confirmAnswers = {true};
  const auto text = ConvertToUNC(machine.platform, "Ostrelan");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->rfind("\r\nVorlix  -  Tarnwick network diagnostic tool  -  ", 0), 0u);
  EXPECT_NE(text->find("\r\nProgram : Ostrelan\r\n"), std::string::npos);
  EXPECT_NE(text->find("\r\nS:=\\\\fs1\\shared\r\n"), std::string::npos);
  EXPECT_NE(text->find("TarnwickPath=\\\\fs1\\shared\\Apps\r\n"), std::string::npos);
  EXPECT_EQ(machine.registry.GetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Tarnwick",
                                       "TarnwickPath"),
            "\\\\fs1\\shared\\Apps");
  EXPECT_THAT(machine.files.FilesUnder("C:\\Temp"), IsEmpty());
  EXPECT_EQ(machine.dialogs.shown.size(), 1u);
}

TEST_F(ConvertCommand, FailingReportFileLeavesNoTempFileBehind) {
  machine.files.AddFile(kMap, "S:=\\\\fs1\\shared\r\n");
  machine.dialogs.confirmAnswers = {true};
  machine.files.writeBudget = 20;
  EXPECT_THROW(ConvertToUNC(machine.platform, "Ostrelan"), InOutError);
  EXPECT_THAT(machine.files.FilesUnder("C:\\Temp"), IsEmpty());
}

}  // namespace
}  // namespace vorlix::drivemap
