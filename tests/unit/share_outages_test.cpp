#include "common/share_outages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/command_platform.h"
#include "common/files.h"
#include "common/place.h"
#include "common/text.h"
#include "platform/errors.h"
#include "report/report_texts.h"
#include "report/temp_report.h"
#include "unit/installed_machine.h"

namespace vorlix {
namespace {

using fakes::FakeFileSystem;
using platform::DirectorySearch;
using platform::DirEntry;
using platform::PathAttributes;
using platform::SearchStart;

// A machine whose server behind some paths does not answer: every call under one of them fails
// with the code given, and the calls that reached it are counted.
class SilentServer : public platform::FileSystem {
 public:
  explicit SilentServer(FakeFileSystem& files) : files_(files) {}
  std::vector<std::string> silentUnder;  // lower-case prefixes
  std::uint32_t code = 121;
  std::uint32_t listingEnd = 0;  // when set, every listing ends with this code
  int reached = 0;

  // A listing whose server stops answering after the entries it gave.
  class CutListing final : public DirectorySearch {
   public:
    CutListing(std::unique_ptr<DirectorySearch> search, std::uint32_t end)
        : search_(std::move(search)), end_(end) {}
    std::optional<DirEntry> Next() override {
      auto entry = search_->Next();
      ended_ = !entry;
      return entry;
    }
    std::uint32_t EndError() const override { return ended_ ? end_ : 18; }

   private:
    std::unique_ptr<DirectorySearch> search_;
    std::uint32_t end_;
    bool ended_ = false;
  };

  bool Silent(const std::string& path) {
    for (const auto& prefix : silentUnder) {
      if (AsciiLower(path).starts_with(prefix)) return ++reached, true;
    }
    return false;
  }
  PathAttributes Attributes(const std::string& p) override {
    return Silent(p) ? PathAttributes{0, code} : files_.Attributes(p);
  }
  SearchStart FindFirst(const std::string& p) override {
    if (Silent(p)) return {nullptr, code};
    SearchStart start = files_.FindFirst(p);
    if (start.search && listingEnd) {
      start.search = std::make_unique<CutListing>(std::move(start.search), listingEnd);
    }
    return start;
  }
  std::optional<platform::DosDateTime> FileTimeToDos(platform::FileTime t) override {
    return files_.FileTimeToDos(t);
  }
  platform::FileTime FileTimeToLocal(platform::FileTime t) override {
    return files_.FileTimeToLocal(t);
  }
  std::unique_ptr<platform::TextWriter> CreateText(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.CreateText(p);
  }
  std::unique_ptr<platform::TextWriter> CreateScratchText(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.CreateScratchText(p);
  }
  std::unique_ptr<platform::TextReader> OpenText(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.OpenText(p);
  }
  std::string ReadAll(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.ReadAll(p);
  }
  platform::FileWithAccess ReadWithAccess(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.ReadWithAccess(p);
  }
  void MakePrivate(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    files_.MakePrivate(p);
  }
  std::optional<std::string> AccountSid(const std::string& n) override {
    return files_.AccountSid(n);
  }
  bool Delete(const std::string& p) override { return !Silent(p) && files_.Delete(p); }
  void Replace(const std::string& f, const std::string& t) override {
    if (Silent(f) || Silent(t)) throw InOutError(t, code);
    files_.Replace(f, t);
  }
  bool MoveToNewName(const std::string& f, const std::string& t) override {
    if (Silent(f) || Silent(t)) throw InOutError(t, code);
    return files_.MoveToNewName(f, t);
  }
  std::string TempFolder() override { return files_.TempFolder(); }
  std::string CreateTempFile(const std::string& f, const std::string& p) override {
    if (Silent(f)) throw InOutError(f, code);
    return files_.CreateTempFile(f, p);
  }
  std::string FullPath(const std::string& p) override { return files_.FullPath(p); }
  std::string ExecutablePath() override { return files_.ExecutablePath(); }

 private:
  FakeFileSystem& files_;
};

struct DeadLicenceServer : testing::InstalledMachine {
  DeadLicenceServer() { silent.silentUnder = {"s:", "\\\\lic-server\\licences"}; }

  std::string Report(platform::FileSystem& files) {
    platform::Platform platform{files,           machine.registry, machine.profile,
                                machine.network, machine.dialogs,  machine.clock};
    report::DiagnosticReport driver(platform);
    return report::WriteThroughTempFile(
        files, [&](report::ReportFile& file) { driver.Run(file, "Ostrelan", 2); });
  }

  // A report as the window makes it: a command of its own, its headings told to the session.
  std::string CommandReport() {
    commands.StartCommand();
    platform::Platform platform = commands.With(machine.dialogs);
    report::DiagnosticReport driver(platform);
    return report::WriteThroughTempFile(commands.files(), [&](report::ReportFile& file) {
      file.TellHeadings(
          [&](std::string_view heading) { commands.session().EnterSection(heading); });
      driver.Run(file, "Ostrelan", 2);
    });
  }

  SilentServer silent{machine.files};
  RememberedConnections connections{machine.network};
  ShareOutages outages{silent, connections};
  CommandPlatform commands{
      {silent, machine.registry, machine.profile, machine.network, machine.clock}};
};

TEST(ShareOutages, AReportReachesADeadShareOnceAndReadsAsIfEveryCallHadWaited) {
  DeadLicenceServer waited;
  const std::string everyCall = waited.Report(waited.silent);
  ASSERT_GE(waited.silent.reached, 5);

  DeadLicenceServer once;
  const std::string text = once.CommandReport();
  EXPECT_EQ(once.silent.reached, 1);
  EXPECT_EQ(text, everyCall);
  EXPECT_THAT(text, ::testing::HasSubstr("S:\\Licence ...is missing"));

  once.silent.reached = 0;
  EXPECT_EQ(once.CommandReport(), everyCall);
  EXPECT_EQ(once.silent.reached, 1) << "the next command asks again";
}

TEST(ShareOutages, OnlyCodesThatMeanNoAnswerAreRemembered) {
  struct Row {
    std::uint32_t code;
    bool remembered;
  };
  const Row table[] = {
      {53, true}, {59, true},   {64, true},   {121, true},   {1231, true}, {1232, true},
      {51, true}, {1222, true}, {1460, true}, {995, true},   {2, false},   {3, false},
      {5, false}, {32, false},  {67, false},  {1326, false}, {112, false}, {0, false},
  };
  for (const Row& row : table) {
    DeadLicenceServer m;
    m.silent.code = row.code;
    EXPECT_EQ(MeansNoAnswer(row.code), row.remembered) << row.code;
    m.outages.FolderExists("\\\\lic-server\\licences\\Licence");
    m.outages.FindFirst("\\\\LIC-SERVER\\Licences\\Licence\\*.*");
    EXPECT_THROW(m.outages.ReadAll("S:\\Licence\\Ostrelan.ini"), InOutError);
    EXPECT_EQ(m.silent.reached, row.remembered ? 1 : 3) << row.code;
    // The remembered failure carries the code of the first.
    const PathAttributes seen = m.outages.Attributes("s:/licence");
    EXPECT_EQ(seen.error, row.code) << row.code;
  }
}

TEST(ShareOutages, AFailedCallOnALetterSilencesItsShareAndTheShareItsLetter) {
  for (const std::string first : {"S:\\Licence", "\\\\lic-server\\licences\\x"}) {
    DeadLicenceServer m;
    EXPECT_FALSE(m.outages.FolderExists(first));
    EXPECT_EQ(m.outages.FindFirst("\\\\?\\UNC\\lic-server\\licences\\*.*").error, 121u);
    EXPECT_FALSE(m.outages.FileExists("s:\\Licence\\Ostrelan.ini"));
    EXPECT_THROW(m.outages.CreateText("S:\\Licence\\az193201.txt"), InOutError);
    EXPECT_THROW(m.outages.CreateScratchText("S:\\Licence\\Kx1.tmp"), InOutError);
    EXPECT_THROW(m.outages.CreateTempFile("S:\\", "Kx"), InOutError);
    EXPECT_THROW(m.outages.Replace("C:\\a.txt", "S:\\a.txt"), InOutError);
    EXPECT_THROW(m.outages.MoveToNewName("C:\\a.txt", "S:\\a.txt"), InOutError);
    EXPECT_FALSE(m.outages.Delete("S:\\Licence\\licence.dat"));
    EXPECT_EQ(m.silent.reached, 1) << first;
    EXPECT_THAT(m.machine.network.asked, ::testing::UnorderedElementsAre("S:", "C:"))
        << "each letter is asked once per report";
    // Other shares and local folders are still asked.
    EXPECT_TRUE(m.outages.FolderExists("C:\\Projects"));
    m.machine.files.AddFolder("\\\\lic-server\\other");
    EXPECT_TRUE(m.outages.FolderExists("\\\\lic-server\\other"));
  }
}

TEST(ShareOutages, ALetterWithNoNetworkNameIsRememberedUnderTheLetter) {
  DeadLicenceServer m;
  m.machine.network.connections.erase("S:");
  EXPECT_FALSE(m.outages.FolderExists("S:\\Licence"));
  EXPECT_FALSE(m.outages.FileExists("s:\\Licence\\Ostrelan.ini"));
  EXPECT_FALSE(m.outages.FolderExists("S:\\Other"));
  EXPECT_EQ(m.silent.reached, 1);
  EXPECT_EQ(m.outages.KnownOutage("S:\\x"), 121u);
  EXPECT_EQ(m.outages.KnownOutage("\\\\lic-server\\licences\\x"), std::nullopt);
  EXPECT_THAT(m.machine.network.asked, ::testing::ElementsAre("S:"));
}

TEST(ShareOutages, AFailedMoveIsRememberedOnlyWhenBothEndsLieOnOneShare) {
  const std::string to = "\\\\lic-server\\licences\\Licence\\map.txt";
  for (const bool replacing : {true, false}) {
    for (const std::string from : {"S:\\Licence\\new.txt", "C:\\new.txt"}) {
      DeadLicenceServer m;
      m.silent.silentUnder = {"\\\\lic-server\\licences\\licence\\map.txt"};
      if (replacing) {
        EXPECT_THROW(m.outages.Replace(from, to), InOutError);
      } else {
        EXPECT_THROW(m.outages.MoveToNewName(from, to), InOutError);
      }
      EXPECT_EQ(m.outages.KnownOutage("S:\\x").has_value(), from.starts_with("S:")) << from;
    }
  }
}

TEST(ShareOutages, APathOnNoShareIsNeverRemembered) {
  DeadLicenceServer m;
  for (const std::string path : {"Licence\\x", "ab\\cd\\ef", "\\\\srv", "\\\\srv\\"}) {
    m.outages.Learn(path, 121);
    EXPECT_EQ(m.outages.KnownOutage(path), std::nullopt) << path;
  }
  EXPECT_EQ(m.machine.network.calls, 0);
}

TEST(ShareOutages, AServerThatStopsAnsweringDuringAListingIsRemembered) {
  for (const std::uint32_t end : {18u, 64u}) {
    DeadLicenceServer m;
    m.silent.silentUnder.clear();
    m.silent.listingEnd = end;
    SearchStart start = m.outages.FindFirst("\\\\lic-server\\licences\\Licence\\*.*");
    ASSERT_TRUE(start.search);
    int entries = 0;
    while (start.search->Next()) ++entries;
    EXPECT_EQ(entries, 2);
    EXPECT_EQ(start.search->EndError(), end);
    EXPECT_EQ(m.outages.KnownOutage("S:\\Licence\\x"),
              end == 18 ? std::nullopt : std::optional<std::uint32_t>(end));
    EXPECT_EQ(m.outages.KnownOutage("C:\\Projects"), std::nullopt);
  }
}

TEST(CommandSession, ACancelledCommandStopsAtItsNextCallButStillDeletes) {
  DeadLicenceServer m;
  m.silent.silentUnder.clear();
  m.machine.files.AddFile("C:\\Projects\\az193201.txt", "1\r\n2\r\n");
  m.machine.profile.Set("C:\\Projects\\a.ini", "A", "k", "v");
  platform::FileSystem& files = m.commands.files();
  auto reader = files.OpenText("C:\\Projects\\az193201.txt");
  auto writer = files.CreateText("C:\\Projects\\new.txt");
  SearchStart listing = files.FindFirst("C:\\Projects\\*.*");
  ASSERT_TRUE(listing.search);
  const int before = m.silent.reached;
  m.commands.session().Cancel();
  EXPECT_TRUE(m.commands.session().IsCancelled());
  // A call begun before the cancel goes on; each one after it stops, down to the next line.
  EXPECT_THROW(files.FolderExists("C:\\Projects"), Cancelled);
  EXPECT_THROW(files.FindFirst("C:\\Projects\\*.*"), Cancelled);
  EXPECT_THROW(files.CreateText("C:\\Projects\\other.txt"), Cancelled);
  EXPECT_THROW(files.CreateScratchText("C:\\Projects\\other.txt"), Cancelled);
  EXPECT_THROW(files.OpenText("C:\\Projects\\az193201.txt"), Cancelled);
  EXPECT_THROW(listing.search->Next(), Cancelled);
  EXPECT_THROW(reader->ReadLine(), Cancelled);
  EXPECT_THROW(writer->Write("x"), Cancelled);
  EXPECT_THROW(writer->Close(), Cancelled);
  EXPECT_THROW(files.ReadAll("C:\\Projects\\az193201.txt"), Cancelled);
  EXPECT_THROW(files.Replace("C:\\a.txt", "C:\\b.txt"), Cancelled);
  EXPECT_THROW(files.MoveToNewName("C:\\a.txt", "C:\\b.txt"), Cancelled);
  EXPECT_THROW(NewTempFileName(files), Cancelled);
  EXPECT_THROW(m.commands.profile().ReadString("C:\\Projects\\a.ini", "A", "k", ""), Cancelled);
  EXPECT_THROW(m.commands.profile().WriteString("C:\\Projects\\a.ini", "A", "k", "w"), Cancelled);
  EXPECT_THROW(m.commands.profile().ReadSection("C:\\Projects\\a.ini", "A"), Cancelled);
  EXPECT_THROW(m.commands.profile().ReadSections("C:\\Projects\\a.ini"), Cancelled);
  EXPECT_THROW(m.commands.profile().DeleteKey("C:\\Projects\\a.ini", "A", "k"), Cancelled);
  EXPECT_THROW(m.commands.profile().EraseSection("C:\\Projects\\a.ini", "A"), Cancelled);
  EXPECT_THROW(m.commands.profile().Flush("C:\\Projects\\a.ini"), Cancelled);
  EXPECT_EQ(m.machine.profile.ReadString("C:\\Projects\\a.ini", "A", "k", ""), "v");
  EXPECT_EQ(m.silent.reached, before);
  EXPECT_TRUE(files.Delete("C:\\Projects\\az193201.txt"));
  EXPECT_EQ(m.machine.files.Find("C:\\Projects\\az193201.txt"), nullptr);
  // The next command is not cancelled.
  m.commands.StartCommand();
  EXPECT_FALSE(m.commands.session().IsCancelled());
  EXPECT_TRUE(files.FolderExists("C:\\Projects"));
  EXPECT_EQ(m.commands.profile().ReadString("C:\\Projects\\a.ini", "A", "k", ""), "v");
}

// A server that cancels the command during one call of the test file, as the window's close
// does: the call itself goes through, or comes back cancelled by the system.
struct CancelAt : SilentServer {
  using SilentServer::SilentServer;
  CommandSession* session = nullptr;
  std::string call;                    // "create" or "open"
  std::uint32_t aborted = 0;           // the code the cancelled call fails with; 0: it goes through
  std::vector<std::string> deletions;  // of the test file

  std::unique_ptr<platform::TextWriter> CreateText(const std::string& p) override {
    Hit("create", p);
    return SilentServer::CreateText(p);
  }
  std::unique_ptr<platform::TextReader> OpenText(const std::string& p) override {
    Hit("open", p);
    return SilentServer::OpenText(p);
  }
  bool Delete(const std::string& p) override {
    if (p.ends_with("az193201.txt")) deletions.push_back(p);
    return SilentServer::Delete(p);
  }
  void Hit(const std::string& what, const std::string& p) {
    if (what != call || !p.ends_with("az193201.txt")) return;
    session->Cancel();
    if (aborted) throw InOutError(p, aborted);
  }
};

TEST(CommandSession, ACancelledReportLeavesNeitherItsFileNorATestFileItCanReach) {
  struct Row {
    std::string call;
    std::uint32_t aborted;
    std::vector<std::string> deletions;  // of the test file, sent to the system
    std::vector<std::string> left;       // in the licence folder
  };
  const std::string test = "S:\\Licence\\az193201.txt";
  const Row table[] = {
      // Cancelled while the test file is made: the write stops, the file it began goes.
      {"create", 0, {test}, {"Ostrelan.ini", "licence.dat"}},
      // Cancelled while it is read back: the deletion still goes to a server that answered.
      {"open", 0, {test}, {"Ostrelan.ini", "licence.dat"}},
      // Cancelled by the system while it is read back: its server did not answer, so nothing
      // more is sent there and the test file stays.
      {"open", 995, {}, {"Ostrelan.ini", "az193201.txt", "licence.dat"}},
  };
  for (const Row& row : table) {
    const std::string name = row.call + " " + std::to_string(row.aborted);
    DeadLicenceServer m;
    m.silent.silentUnder.clear();
    CancelAt cancelling{m.machine.files};
    CommandPlatform commands{
        {cancelling, m.machine.registry, m.machine.profile, m.machine.network, m.machine.clock}};
    cancelling.session = &commands.session();
    cancelling.call = row.call;
    cancelling.aborted = row.aborted;
    platform::Platform platform = commands.With(m.machine.dialogs);
    report::DiagnosticReport driver(platform);
    commands.StartCommand();
    EXPECT_THROW(
        report::WriteThroughTempFile(
            commands.files(), [&](report::ReportFile& file) { driver.Run(file, "Ostrelan", 2); }),
        Cancelled)
        << name;
    EXPECT_THAT(m.machine.files.FilesUnder("C:\\Temp"), ::testing::IsEmpty()) << name;
    EXPECT_EQ(cancelling.deletions, row.deletions) << name;
    EXPECT_THAT(m.machine.files.FilesUnder("S:\\Licence"),
                ::testing::UnorderedElementsAreArray(row.left))
        << name;
  }
}

TEST(CommandSession, WhatAWaitingCallShows) {
  DeadLicenceServer m;
  EXPECT_EQ(m.commands.session().Current(), std::nullopt);
  struct Row {
    std::string section;
    int waited;
    std::string shown;
  };
  const auto start = std::chrono::steady_clock::now();
  const Row table[] = {
      {"Checking licence folder...", 0, ""},
      {"Checking licence folder...", 12,
       "Checking licence folder...  \\\\dead\\share\\Licence  (12 s)"},
      {"", 1, "\\\\dead\\share\\Licence  (1 s)"},
  };
  for (const Row& row : table) {
    const CallInProgress call{row.section, "\\\\dead\\share\\Licence", start};
    EXPECT_EQ(WaitingText(call, start + std::chrono::milliseconds(row.waited * 1000 + 999)),
              row.shown);
  }
}

TEST(CommandSession, TheSectionIsTheHeadingTheDriverBegan) {
  DeadLicenceServer m;
  m.silent.silentUnder.clear();
  std::vector<std::optional<CallInProgress>> seen;
  struct Watching : SilentServer {
    using SilentServer::SilentServer;
    CommandSession* session = nullptr;
    std::vector<std::optional<CallInProgress>>* seen = nullptr;
    platform::PathAttributes Attributes(const std::string& p) override {
      if (p == "S:\\Licence" || p == "S:\\Licence\\az193201.txt") {
        seen->push_back(session->Current());
      }
      return SilentServer::Attributes(p);
    }
  } watching{m.machine.files};
  CommandPlatform commands{
      {watching, m.machine.registry, m.machine.profile, m.machine.network, m.machine.clock}};
  watching.session = &commands.session();
  watching.seen = &seen;
  commands.StartCommand();
  platform::Platform platform = commands.With(m.machine.dialogs);
  report::DiagnosticReport driver(platform);
  report::WriteThroughTempFile(commands.files(), [&](report::ReportFile& file) {
    file.TellHeadings([&](std::string_view heading) { commands.session().EnterSection(heading); });
    driver.Run(file, "Ostrelan", 2);
  });
  ASSERT_EQ(seen.size(), 2u);
  ASSERT_TRUE(seen[0]);
  EXPECT_EQ(seen[0]->section, "Checking licence folder...");
  EXPECT_EQ(seen[0]->path, "S:\\Licence");
  // A sub-heading of the write test ("Deleting...") is no section of its own.
  ASSERT_TRUE(seen[1]);
  EXPECT_EQ(seen[1]->section, report::texts::kCreatingInLicenceFolder);
  EXPECT_EQ(commands.session().Current(), std::nullopt);
  // A new command starts at no section.
  commands.StartCommand();
  std::optional<CallInProgress> fresh;
  commands.session().Call("C:\\x", [&] { fresh = commands.session().Current(); });
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->section, "");
}

TEST(RememberedConnections, EachNameIsAskedOncePerCommandAndHeldShort) {
  fakes::FakeNetworkNames network;
  network.connections["S:"] = "\\\\lic-server\\" + std::string(300, 'x');
  RememberedConnections connections{network};
  EXPECT_EQ(connections.Connection("S:"), "\\\\lic-server\\" + std::string(255 - 13, 'x'));
  EXPECT_EQ(connections.Connection("s:"), connections.Connection("S:"));
  EXPECT_EQ(connections.Connection("Q:"), std::nullopt);
  EXPECT_EQ(connections.Connection("Q:"), std::nullopt);
  EXPECT_THAT(network.asked, ::testing::ElementsAre("S:", "Q:"));
  connections.Forget();
  connections.Connection("S:");
  EXPECT_THAT(network.asked, ::testing::ElementsAre("S:", "Q:", "S:"));
}

TEST(PlaceOf, ADriveLetterAShareOrNeither) {
  using Kind = Place::Kind;
  const std::pair<std::string, Place> table[] = {
      {"C:\\x", {Kind::Drive, "C:"}},
      {"s:", {Kind::Drive, "S:"}},
      {"1:\\x", {Kind::Drive, "1:"}},
      {"S", {}},
      {":\\x", {}},
      {"\\\\Srv\\Share\\a", {Kind::Share, "\\\\Srv\\Share"}},
      {"\\\\srv\\s", {Kind::Share, "\\\\srv\\s"}},
      {"\\\\srv\\", {}},
      {"\\\\srv", {}},
      {"\\\\\\share", {}},
      {"\\\\srv\\\\x", {}},
      {"\\x\\y", {}},
      {"//srv/share", {}},  // the system's separators only; ShareOfPath turns slashes first
      {"", {}},
  };
  for (const auto& [path, place] : table) EXPECT_EQ(PlaceOf(path), place) << path;
}

TEST(ShareOutages, ShareOfAPath) {
  const std::pair<std::string, std::string> table[] = {
      {"\\\\Srv\\Share\\a\\b", "\\\\srv\\share"},
      {"\\\\srv\\share", "\\\\srv\\share"},
      {"//srv/share/x", "\\\\srv\\share"},
      {"\\\\?\\UNC\\srv\\s\\x", "\\\\srv\\s"},
      {"\\\\srv", ""},
      {"\\\\srv\\", ""},
      {"\\\\\\share", ""},
      {"C:\\x", ""},
      {"", ""},
      {"\\\\srv\\\\x", ""},
      {"abc\\d\\e", ""},
  };
  for (const auto& [path, share] : table) EXPECT_EQ(ShareOfPath(path), share) << path;
}

}  // namespace
}  // namespace vorlix
