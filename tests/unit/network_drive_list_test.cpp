#include "drivemap/network_drive_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "fakes/fake_network.h"

namespace vorlix::drivemap {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TNetworkDriveList LiveList(fakes::FakeNetworkNames& network) {
  TNetworkDriveList list;
  list.ReadCurrentMappings(network);
  return list;
}

TNetworkDriveList ListWithX() {
  fakes::FakeNetworkNames network;
  network.connections = {{"X:", "\\\\srv\\data"}};
  return LiveList(network);
}

TEST(ReadCurrentMappings, NoNetworkDrivesGivesAnEmptyTable) {
  fakes::FakeNetworkNames network;
  const TNetworkDriveList list = LiveList(network);
  EXPECT_THAT(list.LocalNames(), IsEmpty());
  EXPECT_THAT(list.RemoteNames(), IsEmpty());
  EXPECT_FALSE(list.IsMappedDrive("C:\\Local"));
  EXPECT_FALSE(list.IsMappedDrive(""));
  EXPECT_EQ(list.IndexOfDrive("X:\\Proj"), -1);
  EXPECT_EQ(list.ToUNC("  X:\\Proj\\ "), "X:\\Proj");
}

TEST(ReadCurrentMappings, AsksForEveryLetterOnceInOrder) {
  fakes::FakeNetworkNames network;
  LiveList(network);
  ASSERT_EQ(network.asked.size(), 26u);
  EXPECT_EQ(network.asked.front(), "A:");
  EXPECT_EQ(network.asked[2], "C:");
  EXPECT_EQ(network.asked.back(), "Z:");
}

TEST(ReadCurrentMappings, SeveralDrivesInLetterOrderWithTheirNames) {
  fakes::FakeNetworkNames network;
  network.connections = {
      {"S:", "\\\\fs1\\shared"}, {"P:", "\\\\fs1\\projects"}, {"B:", "\\\\b\\x"}};
  const TNetworkDriveList list = LiveList(network);
  EXPECT_THAT(list.LocalNames(), ElementsAre("B:", "P:", "S:"));
  EXPECT_THAT(list.RemoteNames(), ElementsAre("\\\\b\\x", "\\\\fs1\\projects", "\\\\fs1\\shared"));
  EXPECT_EQ(list.IndexOfDrive("S:\\Apps"), 2);
  EXPECT_EQ(list.IndexOfDrive("P:"), 1);
}

TEST(ReadCurrentMappings, ClearsWhatTheTableHeldBefore) {
  fakes::FakeNetworkNames network;
  network.connections = {{"S:", "\\\\fs1\\shared"}};
  TNetworkDriveList list = LiveList(network);
  network.connections = {{"T:", "\\\\fs2\\tools"}};
  list.ReadCurrentMappings(network);
  EXPECT_THAT(list.LocalNames(), ElementsAre("T:"));
  EXPECT_THAT(list.RemoteNames(), ElementsAre("\\\\fs2\\tools"));
}

TEST(ReadCurrentMappings, NetworkNameIsHeldTo255Characters) {
  fakes::FakeNetworkNames network;
  const std::string longName = "\\\\srv\\" + std::string(260, 'n');
  network.connections = {{"Q:", longName}};
  const TNetworkDriveList list = LiveList(network);
  ASSERT_EQ(list.RemoteNames().size(), 1u);
  EXPECT_EQ(list.RemoteNames()[0], longName.substr(0, 255));
}

TEST(ToUNC, ExampleTableWithXOnSrvData) {
  const TNetworkDriveList list = ListWithX();
  EXPECT_EQ(list.ToUNC("X:\\Proj\\A\\"), "\\\\srv\\data\\Proj\\A");
  EXPECT_EQ(list.ToUNC("x:\\Proj"), "\\\\srv\\data\\Proj");
  EXPECT_EQ(list.ToUNC("X:Proj"), "\\\\srv\\data\\Proj");
  EXPECT_EQ(list.ToUNC("X:"), "\\\\srv\\data\\");
  EXPECT_EQ(list.ToUNC("X:\\"), "\\\\srv\\data\\");
  EXPECT_EQ(list.ToUNC(" C:\\Local "), "C:\\Local");
  EXPECT_EQ(list.ToUNC("\\\\srv\\data\\Proj\\"), "\\\\srv\\data\\Proj");
}

TEST(ToUNC, RemainderKeepsItsCaseAndInnerCharacters) {
  const TNetworkDriveList list = ListWithX();
  EXPECT_EQ(list.ToUNC("X:\\\\Mixed Case\\a  b\\c.Ini"), "\\\\srv\\data\\Mixed Case\\a  b\\c.Ini");
  // Only blanks go, then backslashes: a backslash before a blank stays.
  EXPECT_EQ(list.ToUNC("X:\\Proj\\ \\ "), "\\\\srv\\data\\Proj\\ ");
  EXPECT_EQ(list.ToUNC("\tX:\\Proj"), "\tX:\\Proj");
}

TEST(IndexOfDrive, KeysOfTwoAndFewerCharacters) {
  const TNetworkDriveList list = ListWithX();
  EXPECT_TRUE(list.IsMappedDrive("X:"));
  EXPECT_TRUE(list.IsMappedDrive("X:\\"));
  EXPECT_TRUE(list.IsMappedDrive("  x:\\\\  "));
  EXPECT_FALSE(list.IsMappedDrive("X"));
  EXPECT_FALSE(list.IsMappedDrive(""));
  EXPECT_FALSE(list.IsMappedDrive("\\"));
  EXPECT_FALSE(list.IsMappedDrive("XY:\\"));
}

TEST(IndexOfDrive, UncPathNeverMatches) {
  const TNetworkDriveList list = ListWithX();
  EXPECT_EQ(list.IndexOfDrive("\\\\srv\\data\\Proj"), -1);
  EXPECT_FALSE(list.IsMappedDrive("\\\\X:\\data"));
}

TEST(IndexOfDrive, LowerCaseEntryIsFoundFromEitherCase) {
  fakes::FakeFileSystem files;
  files.AddFile("C:\\m.txt", "p:=\\\\fs1\\projects\r\n");
  TNetworkDriveList list;
  list.LoadFromFile(files, "C:\\m.txt");
  EXPECT_EQ(list.IndexOfDrive("P:\\Data"), 0);
  EXPECT_EQ(list.IndexOfDrive("p:\\Data"), 0);
}

TEST(IndexOfDrive, DuplicateDriveNamesUseTheFirstEntry) {
  fakes::FakeFileSystem files;
  files.AddFile("C:\\m.txt", "S:=\\\\first\\one\r\nT:=\\\\t\\t\r\nS:=\\\\second\\two\r\n");
  TNetworkDriveList list;
  list.LoadFromFile(files, "C:\\m.txt");
  ASSERT_EQ(list.LocalNames().size(), 3u);
  EXPECT_EQ(list.IndexOfDrive("s:\\x"), 0);
  EXPECT_EQ(list.ToUNC("S:\\x"), "\\\\first\\one\\x");
}

TEST(IndexOfDrive, UpperCaseEntryWinsOverAnEarlierLowerCaseOne) {
  fakes::FakeFileSystem files;
  files.AddFile("C:\\m.txt", "s:=\\\\lower\\one\r\nS:=\\\\upper\\two\r\n");
  TNetworkDriveList list;
  list.LoadFromFile(files, "C:\\m.txt");
  EXPECT_EQ(list.IndexOfDrive("s:\\x"), 1);
  EXPECT_EQ(list.ToUNC("s:\\x"), "\\\\upper\\two\\x");
}

TEST(ToUNC, ResultIsNeverCut) {
  fakes::FakeNetworkNames network;
  network.connections = {{"X:", "\\\\srv\\" + std::string(200, 's')}};
  const TNetworkDriveList list = LiveList(network);
  const std::string path = "X:\\" + std::string(100, 'p');
  EXPECT_EQ(list.ToUNC(path), "\\\\srv\\" + std::string(200, 's') + "\\" + std::string(100, 'p'));
}

}  // namespace
}  // namespace vorlix::drivemap
