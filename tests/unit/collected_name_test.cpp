// The forms a collected report carries outside its text, written and read back: the name the
// console gives it in a collecting folder, the stamp in that name and the time of its JSON form.
#include "report/collected_name.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"
#include "fakes/fake_file_system.h"
#include "summary/report_time.h"

namespace vorlix::report {
namespace {

TEST(CollectedName, WrittenNamesReadBack) {
  const CollectedName names[] = {
      {"WS-014", "jdoe", "Ostrelan", "20261208-140509", 1, false},
      {"WS-014", "j_doe", "Gaspin", "20261231-235959", 2, true},
      {"PC", "x", "Delmoran", "20260101-000000", kMostCopies, false},
      {"PC-7", "anna", "Brannicle", "20240229-120000", 999, true},
      // Two places before "_Gaspin" an underscore, where "_Ostrelan" would begin.
      {"PC", "u_x", "Gaspin", "20261208-140509", 1, false},
  };
  for (const CollectedName& name : names) {
    const std::string file = CollectedFileName(name);
    const auto back = ParseCollectedName(file);
    ASSERT_TRUE(back) << file;
    EXPECT_EQ(CollectedFileName(*back), file);
    EXPECT_EQ(back->computer, name.computer);
    EXPECT_EQ(back->user, name.user);
    EXPECT_EQ(back->program, name.program);
    EXPECT_EQ(back->stamp, name.stamp);
    EXPECT_EQ(back->copy, name.copy);
    EXPECT_EQ(back->json, name.json);
  }
  EXPECT_EQ(CollectedFileName(names[0]), "WS-014_jdoe_Ostrelan_20261208-140509.txt");
  EXPECT_EQ(CollectedFileName(names[1]), "WS-014_j_doe_Gaspin_20261231-235959-2.json");
  // A copy number longer than the stamp's clock is no name of this form.
  EXPECT_FALSE(ParseCollectedName("PC_x_Delmoran_20260101-000000-1000000.txt"));
  EXPECT_TRUE(ParseCollectedName("PC_x_Delmoran_20260101-000000-99999.txt"));
  // Exact heap copies, so that a read before or past a name is caught.
  for (const std::string_view refused :
       {"Ostrelan_20261208-140509.txt", "_Ostrelan_20261208-140509.txt", ".txt", "-2.json"}) {
    const std::vector<char> exact(refused.begin(), refused.end());
    EXPECT_FALSE(ParseCollectedName(std::string_view(exact.data(), exact.size()))) << refused;
  }
}

// The names a collecting folder gives one report written three times read back as its copies.
TEST(CollectedName, CopiesInAFolderReadBackInOrder) {
  fakes::FakeFileSystem files;
  files.AddFolder("R:\\Share");
  CollectedName name{"WS-1", "anna", "Ostrelan", Stamp({2026, 12, 8, 14, 5, 9}), 1, false};
  for (int expected = 1; expected <= 3; ++expected) {
    const std::string path = SaveFileUnderFreeName(
        files, "R:\\Share",
        [&name](int copy) {
          name.copy = copy;
          return CollectedFileName(name);
        },
        "report");
    const auto back = ParseCollectedName(path.substr(path.rfind('\\') + 1));
    ASSERT_TRUE(back) << path;
    EXPECT_EQ(back->copy, expected) << path;
    EXPECT_EQ(back->stamp, "20261208-140509");
  }
}

TEST(CollectedName, TimesReadBackAsWritten) {
  const platform::LocalTime times[] = {
      {2026, 12, 8, 14, 5, 9}, {2024, 2, 29, 0, 0, 0}, {2026, 12, 31, 23, 59, 59}};
  for (const auto& time : times) {
    for (const int offset : {-720, -330, 0, 60, 345, 840}) {
      const std::string iso = IsoLocalTime(time, offset);
      const auto back = ParseIsoTime(iso);
      ASSERT_TRUE(back) << iso;
      EXPECT_EQ(IsoLocalTime(back->time, *back->utcOffsetMinutes), iso);
      EXPECT_EQ(back->utcOffsetMinutes, offset) << iso;
      // The summary shows the same moment with the same offset.
      const auto shown = summary::TimeFromIso(iso);
      ASSERT_TRUE(shown);
      EXPECT_EQ(shown->shown,
                iso.substr(0, 10) + " " + iso.substr(11, 8) + " " + UtcOffsetText(offset));
    }
    const auto stamp = ParseStamp(Stamp(time));
    ASSERT_TRUE(stamp) << Stamp(time);
    EXPECT_EQ(Stamp(*stamp), Stamp(time));
    EXPECT_EQ(summary::TimeFromStamp(Stamp(time))->order.substr(0, 8), Stamp(time).substr(0, 8));
  }
  EXPECT_EQ(IsoLocalTime({2026, 12, 8, 14, 5, 9}, -330), "2026-12-08T14:05:09-05:30");
  EXPECT_EQ(UtcOffsetText(-30), "-00:30");
  // A day or clock that cannot be is no time, in either form.
  EXPECT_FALSE(ParseIsoTime(IsoLocalTime({2026, 2, 29, 12, 0, 0}, 0)));
  EXPECT_FALSE(ParseStamp(Stamp({2026, 12, 8, 14, 60, 0})));
  EXPECT_FALSE(ParseStamp(Stamp({2026, 12, 8, 24, 0, 0})));
  EXPECT_FALSE(ParseStamp(Stamp({2026, 12, 8, 23, 59, 60})));
  EXPECT_FALSE(ParseStamp(Stamp({2026, 13, 8, 12, 0, 0})));
  // Each digit is read as one: a ':' would count as ten ("0:" as October, the tenth day...).
  const std::string iso = "2026-01-01T00:00:00+00:00";
  const std::string name = "PC_u_Ostrelan_20260101-000000.txt";
  for (std::size_t at = 0; at < iso.size(); ++at) {
    if (iso[at] < '0' || iso[at] > '9') continue;
    std::string wrong = iso;
    wrong[at] = ':';
    EXPECT_FALSE(ParseIsoTime(wrong)) << wrong;
  }
  for (std::size_t at = name.find("2026"); name[at] != '.'; ++at) {
    if (name[at] == '-') continue;
    std::string wrong = name;
    wrong[at] = ':';
    EXPECT_FALSE(ParseCollectedName(wrong)) << wrong;
    EXPECT_FALSE(ParseStamp(wrong.substr(name.find("2026"), 15))) << wrong;
  }
}

}  // namespace
}  // namespace vorlix::report
