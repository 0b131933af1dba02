#include "common/share_outages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/files.h"
#include "common/text.h"
#include "platform/errors.h"
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
  std::unique_ptr<platform::TextReader> OpenText(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.OpenText(p);
  }
  std::string ReadAll(const std::string& p) override {
    if (Silent(p)) throw InOutError(p, code);
    return files_.ReadAll(p);
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

  SilentServer silent{machine.files};
  ShareOutages outages{silent, machine.network};
};

TEST(ShareOutages, AReportReachesADeadShareOnceAndReadsAsIfEveryCallHadWaited) {
  DeadLicenceServer waited;
  const std::string everyCall = waited.Report(waited.silent);
  ASSERT_GE(waited.silent.reached, 5);

  DeadLicenceServer once;
  const std::string text = once.Report(once.outages);
  EXPECT_EQ(once.silent.reached, 1);
  EXPECT_EQ(text, everyCall);
  EXPECT_THAT(text, ::testing::HasSubstr("S:\\Licence ...is missing"));

  once.silent.reached = 0;
  EXPECT_EQ(once.Report(once.outages), everyCall);
  EXPECT_EQ(once.silent.reached, 1) << "the next report asks again";
}

TEST(ShareOutages, OnlyCodesThatMeanNoAnswerAreRemembered) {
  struct Row {
    std::uint32_t code;
    bool remembered;
  };
  const Row table[] = {
      {53, true},  {59, true},   {64, true},    {121, true},  {1231, true}, {1232, true},
      {51, true},  {1222, true}, {1460, true},  {2, false},   {3, false},   {5, false},
      {32, false}, {67, false},  {1326, false}, {112, false}, {0, false},
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
  for (const std::string path : {"Licence\\x", "ab\\cd\\ef", "\\\\srv"}) {
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

TEST(ShareOutages, ACancelledCommandStopsAtItsNextCallButStillDeletes) {
  DeadLicenceServer m;
  m.silent.silentUnder.clear();
  m.machine.files.AddFile("C:\\Projects\\az193201.txt", "1");
  m.outages.Cancel();
  EXPECT_THROW(m.outages.FolderExists("C:\\Projects"), Cancelled);
  EXPECT_THROW(m.outages.FindFirst("C:\\Projects\\*.*"), Cancelled);
  EXPECT_THROW(m.outages.OpenText("C:\\Projects\\az193201.txt"), Cancelled);
  EXPECT_THROW(NewTempFileName(m.outages), Cancelled);
  EXPECT_TRUE(m.outages.Delete("C:\\Projects\\az193201.txt"));
  EXPECT_EQ(m.machine.files.Find("C:\\Projects\\az193201.txt"), nullptr);
}

TEST(ShareOutages, ACancelledReportLeavesNeitherItsFileNorATestFile) {
  DeadLicenceServer m;
  m.silent.silentUnder.clear();
  // Cancelled while the licence folder's test file is written.
  struct CancelOnTestFile : SilentServer {
    using SilentServer::SilentServer;
    ShareOutages* outages = nullptr;
    std::unique_ptr<platform::TextWriter> CreateText(const std::string& p) override {
      if (p.ends_with("az193201.txt")) outages->Cancel();
      return SilentServer::CreateText(p);
    }
  } cancelling{m.machine.files};
  ShareOutages outages{cancelling, m.machine.network};
  cancelling.outages = &outages;
  EXPECT_THROW(m.Report(outages), Cancelled);
  EXPECT_THAT(m.machine.files.FilesUnder("C:\\Temp"), ::testing::IsEmpty());
  EXPECT_THAT(m.machine.files.FilesUnder("S:\\Licence"),
              ::testing::UnorderedElementsAre("Ostrelan.ini", "licence.dat"));
}

TEST(ShareOutages, WhatAWaitingCallShows) {
  DeadLicenceServer m;
  EXPECT_EQ(m.outages.Current(), std::nullopt);
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

TEST(ShareOutages, TheSectionIsTheLastHeadingOfTheReportFile) {
  DeadLicenceServer m;
  m.silent.silentUnder.clear();
  std::optional<CallInProgress> seen;
  struct Watching : SilentServer {
    using SilentServer::SilentServer;
    ShareOutages* outages = nullptr;
    std::optional<CallInProgress>* seen = nullptr;
    platform::PathAttributes Attributes(const std::string& p) override {
      if (p == "S:\\Licence") *seen = outages->Current();
      return SilentServer::Attributes(p);
    }
  } watching{m.machine.files};
  ShareOutages outages{watching, m.machine.network};
  watching.outages = &outages;
  watching.seen = &seen;
  m.Report(outages);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->section, "Checking licence folder...");
  EXPECT_EQ(seen->path, "S:\\Licence");
  EXPECT_EQ(outages.Current(), std::nullopt);
}

TEST(ShareOutages, ShareOfAPath) {
  const std::pair<std::string, std::string> table[] = {
      {"\\\\Srv\\Share\\a\\b", "\\\\srv\\share"},
      {"\\\\srv\\share", "\\\\srv\\share"},
      {"//srv/share/x", "\\\\srv\\share"},
      {"\\\\?\\UNC\\srv\\s\\x", "\\\\srv\\s"},
      {"\\\\srv", ""},
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
