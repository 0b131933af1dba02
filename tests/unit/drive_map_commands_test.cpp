#include "drivemap/drive_map_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drivemap/drive_map_file.h"
#include "drivemap/map_trust.h"
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

// The map lies beside the program, in a folder whose files every user may change: what the
// folder gives is not what store-map leaves.
TEST_F(StoreCommand, TheStoredMapIsPrivateWhereverItLies) {
  const platform::Account users{"S-1-5-32-545", "BUILTIN\\Users"};
  machine.files.inherited.entries.push_back({users, platform::AccessEntry::Kind::Allows, 0x1F01FF});
  machine.files.AddFile("C:\\Tools\\Other.txt", "");
  EXPECT_TRUE(WhoElseMayChange(machine.files.AccessOf("C:\\Tools\\Other.txt"), std::nullopt));
  for (const bool overwrite : {false, true}) {
    machine.dialogs.confirmAnswers = {true};
    StoreDriveMap(machine.platform);
    EXPECT_EQ(WhoElseMayChange(machine.files.AccessOf(kMap), std::nullopt), std::nullopt)
        << overwrite;
  }
}

// The program's own path is never guessed: without it no map is named.
TEST_F(StoreCommand, WithoutTheProgramsPathNothingIsStoredOrConverted) {
  machine.files.executableError = 122;
  EXPECT_THROW(StoreDriveMap(machine.platform), InOutError);
  machine.dialogs.confirmAnswers = {true};
  EXPECT_THROW(ConvertToUNC(machine.platform, "Ostrelan"), InOutError);
  EXPECT_THAT(machine.dialogs.shown, IsEmpty());
  EXPECT_EQ(machine.files.Find("C:\\Work\\.txt"), nullptr);
  EXPECT_EQ(machine.files.Find(".txt"), nullptr);
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

// The refusal's whole text is pinned with the rule; here, which dialog shows it and what is left.
TEST_F(ConvertCommand, AMapOthersMayChangeDecidesNothing) {
  const platform::Account everyone{"S-1-1-0", "Everyone"};
  const platform::Account ben{"S-1-5-21-7-7-7-1002", "CORP\\ben"};
  const std::string changed = "File :'C:\\Tools\\Vorlix.txt' may be changed by Everyone,";
  const std::string owned = "File :'C:\\Tools\\Vorlix.txt' is owned by CORP\\ben,";
  struct Row {
    const char* what;
    bool everyoneWrites, bensMap;
    std::optional<std::string> mapOwner;
    bool dryRun, windows;
    std::string dialog;  // the one after the question, up to the account; none when trusted
  } rows[] = {
      {"a map others may write", true, false, {}, false, false, "inform" + changed},
      {"the window's map others may write", true, false, {}, false, true, "inform" + changed},
      {"another user's map", false, true, {}, false, false, "inform" + owned},
      {"the user the site names", false, true, ben.sid, false, false, ""},
      {"the named user's map others may write", true, true, ben.sid, false, false,
       "inform" + changed},
      {"a dry run shows what it would do", true, false, {}, true, false, "warn" + changed},
  };
  for (const Row& row : rows) {
    fakes::FakeMachine fresh;
    fresh.registry.SetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Tarnwick",
                             "TarnwickPath", "S:\\Apps");
    fresh.files.AddFile(kMap, "S:=\\\\fs1\\shared\r\n");
    auto& access = fresh.files.AccessOf(kMap);
    if (row.everyoneWrites)
      access.entries.push_back({everyone, platform::AccessEntry::Kind::Allows, 0x2});
    if (row.bensMap) access.owner = ben;
    fresh.dialogs.confirmAnswers = {true};
    const auto text =
        row.windows ? ConvertToUNC(fresh.platform, "Ostrelan")
                    : ConvertToUNC(fresh.platform, "Ostrelan", {kMap, row.mapOwner, row.dryRun});
    const bool refused = !row.dialog.empty() && !row.dryRun;
    EXPECT_EQ(text.has_value(), !refused) << row.what;
    ASSERT_EQ(fresh.dialogs.shown.size(), row.dialog.empty() ? 1u : 2u) << row.what;
    if (!row.dialog.empty()) {
      const auto& shown = fresh.dialogs.shown[1];
      EXPECT_EQ((shown.kind + shown.text).substr(0, row.dialog.size()), row.dialog) << row.what;
    }
    EXPECT_EQ(fresh.registry.GetString(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Tarnwick",
                                       "TarnwickPath"),
              refused ? "S:\\Apps" : "\\\\fs1\\shared\\Apps")
        << row.what;
    if (refused) {
      EXPECT_THAT(fresh.registry.opened, IsEmpty()) << row.what;
    }
  }
}

}  // namespace
}  // namespace vorlix::drivemap
