#include "app/main_form.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/findings_dialog.h"
#include "common/release.h"
#include "fakes/fake_platform.h"
#include "platform/errors.h"
#include "platform/win32/win32_file_system.h"
#include "report/report_file.h"
#include "support/form_idle.h"
#include "support/patience.h"

namespace vorlix::app {
namespace {

using platform::win32::Win32FileSystem;

// A driver that writes what the test tells it and remembers how it was called.
class ScriptedDriver final : public report::ReportDriver {
 public:
  std::vector<std::string> lines{"", "A report", "   Passed: x", "End of report"};
  // When set, writes the report instead of `lines`: its checks, verdicts and facts too.
  std::function<void(report::ReportFile&)> script;
  bool failAfterLines = false;
  std::string program;
  int level = 0;
  int runs = 0;

  void Run(report::ReportFile& file, const std::string& programName, int reportLevel) override {
    ++runs;
    program = programName;
    level = reportLevel;
    if (script) {
      script(file);
    } else {
      for (const auto& line : lines) file.WriteLine(line);
    }
    if (failAfterLines) throw InOutError("C:\\report.tmp", 112);
  }
};

// The real file system, with a switch that makes writes to one file fail half-way.
class FlakyFileSystem final : public platform::FileSystem {
 public:
  Win32FileSystem real;
  std::string failWritesTo;    // path suffix
  std::vector<DWORD> callers;  // the thread of each call that may wait for a server

  platform::PathAttributes Attributes(const std::string& p) override {
    return Seen(), real.Attributes(p);
  }
  platform::SearchStart FindFirst(const std::string& p) override { return real.FindFirst(p); }
  std::optional<platform::DosDateTime> FileTimeToDos(platform::FileTime t) override {
    return real.FileTimeToDos(t);
  }
  platform::FileTime FileTimeToLocal(platform::FileTime t) override {
    return real.FileTimeToLocal(t);
  }
  std::unique_ptr<platform::TextWriter> CreateText(const std::string& path) override {
    return Seen(), Flaky(path, real.CreateText(path));
  }
  std::unique_ptr<platform::TextWriter> CreateScratchText(const std::string& path) override {
    return Seen(), Flaky(path, real.CreateScratchText(path));
  }
  std::unique_ptr<platform::TextReader> OpenText(const std::string& p) override {
    return real.OpenText(p);
  }
  std::string ReadAll(const std::string& p) override { return real.ReadAll(p); }
  platform::FileWithAccess ReadWithAccess(const std::string& p) override {
    return Seen(), real.ReadWithAccess(p);
  }
  void MakePrivate(const std::string& p) override { Seen(), real.MakePrivate(p); }
  std::optional<std::string> AccountSid(const std::string& n) override {
    return real.AccountSid(n);
  }
  bool Delete(const std::string& p) override { return Seen(), real.Delete(p); }
  void Replace(const std::string& f, const std::string& t) override { real.Replace(f, t); }
  bool MoveToNewName(const std::string& f, const std::string& t) override {
    return real.MoveToNewName(f, t);
  }
  std::string TempFolder() override { return real.TempFolder(); }
  std::string CreateTempFile(const std::string& f, const std::string& p) override {
    return Seen(), real.CreateTempFile(f, p);
  }
  std::string FullPath(const std::string& p) override { return real.FullPath(p); }
  std::string ExecutablePath() override { return real.ExecutablePath(); }

 private:
  void Seen() { callers.push_back(::GetCurrentThreadId()); }
  std::unique_ptr<platform::TextWriter> Flaky(const std::string& path,
                                              std::unique_ptr<platform::TextWriter> writer);
};

class HalfWriter final : public platform::TextWriter {
 public:
  explicit HalfWriter(std::unique_ptr<platform::TextWriter> inner) : inner_(std::move(inner)) {}
  void Write(std::string_view bytes) override {
    inner_->Write(bytes.substr(0, bytes.size() / 2));
    inner_->Close();
    throw InOutError("half-written file", 112);
  }
  void Close() override { inner_->Close(); }

 private:
  std::unique_ptr<platform::TextWriter> inner_;
};

std::unique_ptr<platform::TextWriter> FlakyFileSystem::Flaky(
    const std::string& path, std::unique_ptr<platform::TextWriter> writer) {
  if (!failWritesTo.empty() && path.find(failWritesTo) != std::string::npos) {
    return std::make_unique<HalfWriter>(std::move(writer));
  }
  return writer;
}

std::vector<std::string> TempReportFiles() {
  Win32FileSystem files;
  std::vector<std::string> names;
  auto start = files.FindFirst(files.TempFolder() + "Kx*.tmp");
  if (!start.search) return names;
  while (auto entry = start.search->Next()) names.push_back(entry->name);
  return names;
}

class MainFormTest : public ::testing::Test {
 protected:
  FlakyFileSystem files;
  fakes::FakeMachine fake;
  platform::Platform platform{files,        fake.registry, fake.profile,
                              fake.network, fake.dialogs,  fake.clock};
  ScriptedDriver driver;
  int storeCalls = 0;
  std::function<std::optional<std::string>(const std::string&)> convert = [](const std::string&) {
    return std::optional<std::string>();
  };
  std::unique_ptr<TForm1> form;

  void SetUp() override {
    MainFormServices services{platform, driver, [this] { ++storeCalls; },
                              [this](const std::string& p) { return convert(p); }, nullptr};
    form = std::make_unique<TForm1>(::GetModuleHandleA(nullptr), services);
    form->Show(SW_SHOWNORMAL);
  }

  HWND Get(Control c) { return form->control(c); }
  bool Enabled(Control c) { return ::IsWindowEnabled(Get(c)) != 0; }
  void Choose(Control combo, int index) {
    ::SendMessageA(Get(combo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(form->handle(), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(Get(combo)), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Get(combo)));
  }
  void Click(Control c) { testing::ClickAndFinish(*form, c); }
  std::string Memo() { return form->MemoText(); }
  RECT Place(Control c) {
    RECT r;
    ::GetWindowRect(Get(c), &r);
    ::MapWindowPoints(nullptr, form->handle(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  std::string Text(Control c) {
    char buffer[256] = {};
    ::GetWindowTextA(Get(c), buffer, sizeof buffer);
    return buffer;
  }
};

TEST_F(MainFormTest, WindowHasItsCaptionSizeAndPlace) {
  char caption[128] = {};
  ::GetWindowTextA(form->handle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Vorlix - Tarnwick network diagnostic tool - " VORLIX_PRODUCT_VERSION);
  RECT client;
  ::GetClientRect(form->handle(), &client);
  EXPECT_EQ(client.right, 904);
  EXPECT_EQ(client.bottom, 742);
  RECT frame;
  ::GetWindowRect(form->handle(), &frame);
  EXPECT_EQ(frame.left, 571);
  EXPECT_EQ(frame.top, 96);
}

TEST_F(MainFormTest, ControlsStandWhereTheLayoutPutsThem) {
  struct Expected {
    Control control;
    const char* text;
    RECT place;
  };
  // Drop-down lists report their closed height, which the system derives from the font.
  const Expected table[] = {
      {Control::CreateBtn, "&Create", {413, 14, 99, 28}},
      {Control::SaveAsBtn, "&Save as...", {794, 14, 99, 28}},
      {Control::Memo1, nullptr, {7, 49, 889, 618}},
      {Control::SaveDriveMapBtn, "&Store drive map...", {7, 702, 127, 28}},
      {Control::UNCBtn, "&Convert to UNC...", {147, 702, 127, 28}},
      {Control::CloseBtn, "&Close", {801, 702, 95, 28}},
      {Control::VerdictText, "", {287, 709, 400, 16}},
      {Control::FindingsBtn, "&Findings...", {694, 702, 95, 28}},
  };
  for (const auto& row : table) {
    const RECT r = Place(row.control);
    EXPECT_EQ(r.left, row.place.left) << static_cast<int>(row.control);
    EXPECT_EQ(r.top, row.place.top) << static_cast<int>(row.control);
    EXPECT_EQ(r.right, row.place.right) << static_cast<int>(row.control);
    EXPECT_EQ(r.bottom, row.place.bottom) << static_cast<int>(row.control);
    if (row.text) {
      EXPECT_EQ(Text(row.control), row.text);
    }
  }
  EXPECT_EQ(Place(Control::ComboBox1).left, 7);
  EXPECT_EQ(Place(Control::ComboBox1).right, 218);
  EXPECT_EQ(Place(Control::ComboBox2).left, 238);
  EXPECT_EQ(Place(Control::ComboBox2).right, 162);

  const char* programs[] = {"Ostrelan", "Brannicle", "Corvagent", "Delmoran", "Ferlund", "Gaspin"};
  ASSERT_EQ(::SendMessageA(Get(Control::ComboBox1), CB_GETCOUNT, 0, 0), 6);
  for (int i = 0; i < 6; ++i) {
    char item[64] = {};
    ::SendMessageA(Get(Control::ComboBox1), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, programs[i]);
  }
  ASSERT_EQ(::SendMessageA(Get(Control::ComboBox2), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(::GetWindowLongA(Get(Control::ComboBox1), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
}

LOGFONTA FontOf(HWND window) {
  LOGFONTA font{};
  auto handle = reinterpret_cast<HGDIOBJ>(::SendMessageA(window, WM_GETFONT, 0, 0));
  if (handle) ::GetObjectA(handle, sizeof font, &font);
  return font;
}

TEST_F(MainFormTest, FontsAreSubstitutedButTheMemoKeepsCourierNew) {
  HDC screen = ::GetDC(nullptr);
  const int eightPoints = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  for (Control c : {Control::ComboBox1, Control::CreateBtn, Control::CloseBtn}) {
    const LOGFONTA font = FontOf(Get(c));
    const std::string face = font.lfFaceName;
    EXPECT_TRUE(face == "Microsoft Sans Serif" || face == "MS Sans Serif") << face;
    EXPECT_EQ(font.lfHeight, eightPoints);
  }
  const LOGFONTA memo = FontOf(Get(Control::Memo1));
  EXPECT_STREQ(memo.lfFaceName, "Courier New");
  EXPECT_EQ(memo.lfHeight, -13);
  // Whatever face the system gives for it is monospaced (the flag's name says the opposite).
  HDC dc = ::GetDC(Get(Control::Memo1));
  const HGDIOBJ before = ::SelectObject(
      dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(Get(Control::Memo1), WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, before);
  ::ReleaseDC(Get(Control::Memo1), dc);
  EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "proportional memo face";
}

TEST_F(MainFormTest, ResizingKeepsTheAnchoredEdges) {
  RECT frame;
  ::GetWindowRect(form->handle(), &frame);
  ::SetWindowPos(form->handle(), nullptr, 0, 0, frame.right - frame.left + 100,
                 frame.bottom - frame.top + 50, SWP_NOMOVE | SWP_NOZORDER);
  const RECT memo = Place(Control::Memo1);
  EXPECT_EQ(memo.left, 7);
  EXPECT_EQ(memo.top, 49);
  EXPECT_EQ(memo.right, 989);   // width grows with the window
  EXPECT_EQ(memo.bottom, 668);  // and so does the height
  EXPECT_EQ(Place(Control::SaveAsBtn).left, 894);
  EXPECT_EQ(Place(Control::SaveAsBtn).top, 14);
  EXPECT_EQ(Place(Control::CreateBtn).left, 413);
  EXPECT_EQ(Place(Control::SaveDriveMapBtn).left, 7);
  EXPECT_EQ(Place(Control::SaveDriveMapBtn).top, 752);
  EXPECT_EQ(Place(Control::UNCBtn).top, 752);
  EXPECT_EQ(Place(Control::CloseBtn).left, 901);
  EXPECT_EQ(Place(Control::CloseBtn).top, 752);
  EXPECT_EQ(Place(Control::Bevel1).right, 989);
  EXPECT_EQ(Place(Control::VerdictText).left, 287);
  EXPECT_EQ(Place(Control::VerdictText).right, 500);  // the verdict takes the room
  EXPECT_EQ(Place(Control::VerdictText).top, 759);
  EXPECT_EQ(Place(Control::FindingsBtn).left, 794);
  EXPECT_EQ(Place(Control::FindingsBtn).top, 752);
}

TEST_F(MainFormTest, ButtonStatesFollowTheChoiceAndTheFirstReport) {
  EXPECT_EQ(::SendMessageA(Get(Control::ComboBox1), CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(::SendMessageA(Get(Control::ComboBox2), CB_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(Enabled(Control::CreateBtn));
  EXPECT_FALSE(Enabled(Control::SaveAsBtn));
  EXPECT_FALSE(Enabled(Control::UNCBtn));
  EXPECT_TRUE(Enabled(Control::SaveDriveMapBtn));
  EXPECT_TRUE(Enabled(Control::CloseBtn));

  Choose(Control::ComboBox2, 1);  // a level alone is not enough
  EXPECT_FALSE(Enabled(Control::CreateBtn));
  EXPECT_FALSE(Enabled(Control::UNCBtn));
  bool converted = false;
  convert = [&](const std::string&) {
    converted = true;
    return std::optional<std::string>();
  };
  Click(Control::CreateBtn);  // disabled buttons never act, whatever sends the click
  Click(Control::UNCBtn);
  Click(Control::SaveAsBtn);
  EXPECT_EQ(driver.runs, 0);
  EXPECT_FALSE(converted);
  EXPECT_TRUE(fake.dialogs.shown.empty());

  Choose(Control::ComboBox1, 2);
  EXPECT_TRUE(Enabled(Control::CreateBtn));
  EXPECT_TRUE(Enabled(Control::UNCBtn));
  EXPECT_FALSE(Enabled(Control::SaveAsBtn));
  EXPECT_EQ(driver.runs, 0);  // choosing makes no report

  Click(Control::CreateBtn);
  EXPECT_EQ(driver.runs, 1);
  EXPECT_EQ(driver.program, "Corvagent");
  EXPECT_EQ(driver.level, 2);
  EXPECT_TRUE(Enabled(Control::CreateBtn));
  EXPECT_TRUE(Enabled(Control::UNCBtn));
  EXPECT_TRUE(Enabled(Control::SaveAsBtn));

  const std::string shown = Memo();
  Choose(Control::ComboBox1, 0);
  Choose(Control::ComboBox2, 0);
  EXPECT_EQ(Memo(), shown);  // a new report needs "&Create"
  EXPECT_TRUE(Enabled(Control::SaveAsBtn));
}

TEST_F(MainFormTest, WelcomeTextIsExact) {
  fakes::FakeClock clock;
  const std::string banner = "Vorlix  -  Tarnwick network diagnostic tool  -  " +
                             clock.ShortDate(clock.now) + " " + clock.LongTime(clock.now);
  EXPECT_EQ(Memo(), "\r\n" + banner +
                        "\r\n-------------------------------------------------------------------"
                        "\r\n\r\nSelect a program and click 'Create'\r\n");
}

TEST_F(MainFormTest, CreateShowsExactlyWhatTheDriverWroteAndLeavesNoTempFile) {
  const auto before = TempReportFiles();
  driver.lines = {"", "first", "  second with spaces  ", "", "\xfc\xe9 ANSI", "End of report"};
  Choose(Control::ComboBox1, 0);
  Click(Control::CreateBtn);
  EXPECT_EQ(driver.program, "Ostrelan");
  EXPECT_EQ(driver.level, 1);
  EXPECT_EQ(Memo(),
            "\r\nfirst\r\n  second with spaces  \r\n\r\n\xfc\xe9 ANSI\r\nEnd of report\r\n");
  EXPECT_EQ(TempReportFiles(), before);
}

// A command that ends within a moment leaves the buttons as they are; a longer one disables them
// until its end. Meanwhile no button but "&Close" acts, whether it looks enabled or not.
TEST_F(MainFormTest, ACommandLocksTheButtonsOnlyOnceItHasLastedAMoment) {
  Choose(Control::ComboBox1, 0);
  Click(Control::CreateBtn);  // "&Save as..." enabled
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  driver.script = [released](report::ReportFile& file) {
    released.wait();
    file.WriteLine("done");
  };
  bool converted = false;
  convert = [&](const std::string&) {
    converted = true;
    return std::optional<std::string>();
  };
  const auto clicked = std::chrono::steady_clock::now();
  ::SendMessageA(Get(Control::CreateBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(form->Busy());
  EXPECT_NE(::GetPropA(form->handle(), kCommandRunningProperty), nullptr);
  for (const Control c : {Control::ComboBox1, Control::ComboBox2, Control::CreateBtn,
                          Control::SaveAsBtn, Control::SaveDriveMapBtn, Control::UNCBtn}) {
    EXPECT_TRUE(Enabled(c)) << static_cast<int>(c);
  }
  for (const Control c :
       {Control::CreateBtn, Control::SaveAsBtn, Control::SaveDriveMapBtn, Control::UNCBtn}) {
    ::SendMessageA(Get(c), BM_CLICK, 0, 0);
  }
  Choose(Control::ComboBox1, -1);  // before the lock a choice still counts
  EXPECT_FALSE(Enabled(Control::CreateBtn));
  Choose(Control::ComboBox1, 3);
  EXPECT_TRUE(Enabled(Control::CreateBtn));
  ::SetFocus(Get(Control::CreateBtn));  // each click took the focus

  while (Enabled(Control::CreateBtn) &&
         std::chrono::steady_clock::now() - clicked < testing::kPatience) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    testing::HandlePending(*form);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(200));
  for (const Control c : {Control::ComboBox1, Control::ComboBox2, Control::CreateBtn,
                          Control::SaveAsBtn, Control::SaveDriveMapBtn, Control::UNCBtn}) {
    EXPECT_FALSE(Enabled(c)) << static_cast<int>(c);
  }
  EXPECT_TRUE(Enabled(Control::CloseBtn));
  EXPECT_EQ(::GetFocus(), Get(Control::Memo1));  // the keyboard stays in the window
  ::SendMessageA(form->handle(), WM_COMMAND,
                 MAKEWPARAM(::GetDlgCtrlID(Get(Control::ComboBox1)), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Get(Control::ComboBox1)));
  EXPECT_FALSE(Enabled(Control::CreateBtn));  // once locked, nothing enables it

  release.set_value();
  testing::WaitForCommand(*form);
  EXPECT_EQ(driver.runs, 2);
  EXPECT_FALSE(converted);
  EXPECT_EQ(storeCalls, 0);
  EXPECT_TRUE(fake.dialogs.shown.empty());
  EXPECT_EQ(::GetPropA(form->handle(), kCommandRunningProperty), nullptr);
  EXPECT_EQ(Memo(), "done\r\n");
  for (const Control c : {Control::ComboBox1, Control::ComboBox2, Control::CreateBtn,
                          Control::SaveAsBtn, Control::SaveDriveMapBtn, Control::UNCBtn}) {
    EXPECT_TRUE(Enabled(c)) << static_cast<int>(c);
  }
  EXPECT_EQ(::GetFocus(), Get(Control::CreateBtn));

  // A short command that follows leaves the focus where it is, not where the long one found it.
  driver.script = nullptr;
  ::SetFocus(Get(Control::Memo1));
  ::SendMessageA(form->handle(), WM_COMMAND,
                 MAKEWPARAM(::GetDlgCtrlID(Get(Control::CreateBtn)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Get(Control::CreateBtn)));
  testing::WaitForCommand(*form);
  EXPECT_EQ(driver.runs, 3);
  EXPECT_EQ(::GetFocus(), Get(Control::Memo1));
}

TEST_F(MainFormTest, CloseActsDuringACommand) {
  Choose(Control::ComboBox1, 0);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  driver.script = [released](report::ReportFile&) { released.wait(); };
  ::SendMessageA(Get(Control::CreateBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(form->Busy());
  ::SendMessageA(Get(Control::CloseBtn), BM_CLICK, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(form->handle()));  // gone from the screen at once
  release.set_value();
  testing::WaitForCommand(*form);
  EXPECT_EQ(form->handle(), nullptr);
}

// A window destroyed during a command goes once the command has ended, not before.
TEST_F(MainFormTest, DestroyedDuringACommandTheWindowWaitsForItsEnd) {
  Choose(Control::ComboBox1, 0);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> ended = false;
  driver.script = [released, &ended](report::ReportFile&) {
    released.wait();
    ended = true;
  };
  ::SendMessageA(Get(Control::CreateBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(form->Busy());
  std::atomic<bool> destroyed = false;
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    release.set_value();
    // A destructor that never returns would hold the whole run: fail it instead.
    for (const auto until = testing::PatienceFromNow();
         !destroyed && std::chrono::steady_clock::now() < until;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!destroyed) {
      std::fprintf(stderr, "the window's destructor did not return\n");
      ::ExitProcess(1);
    }
  });
  form.reset();
  destroyed = true;
  releaser.join();
  EXPECT_TRUE(ended);
}

// A server that takes long holds the worker, never the window.
TEST_F(MainFormTest, TheWindowsThreadMakesNoFileCallDuringAReport) {
  Choose(Control::ComboBox1, 0);
  files.callers.clear();
  driver.script = [this](report::ReportFile& file) {
    files.FolderExists(files.TempFolder());
    file.WriteLine("checked");
  };
  Click(Control::CreateBtn);
  EXPECT_EQ(Memo(), "checked\r\n");
  ASSERT_GE(files.callers.size(), 4u);  // the temporary file made, written, checked, deleted
  EXPECT_THAT(files.callers, ::testing::Not(::testing::Contains(::GetCurrentThreadId())));
  // Outside a command the window's own calls are its thread's: the record is that of the thread.
  files.callers.clear();
  files.FolderExists(files.TempFolder());
  EXPECT_THAT(files.callers, ::testing::ElementsAre(::GetCurrentThreadId()));
}

TEST_F(MainFormTest, AReportCutShortIsShownAsAnErrorAndChangesNothing) {
  const auto before = TempReportFiles();
  const std::string welcome = Memo();
  Choose(Control::ComboBox1, 1);
  driver.failAfterLines = true;
  Click(Control::CreateBtn);
  ASSERT_EQ(fake.dialogs.shown.size(), 1u);
  EXPECT_EQ(fake.dialogs.shown[0].kind, "error");
  EXPECT_NE(fake.dialogs.shown[0].text.find("112"), std::string::npos);
  EXPECT_EQ(Memo(), welcome);
  EXPECT_FALSE(Enabled(Control::SaveAsBtn));
  EXPECT_EQ(TempReportFiles(), before);

  // The window stays usable: the next report works and shows.
  driver.failAfterLines = false;
  Click(Control::CreateBtn);
  EXPECT_EQ(Memo(), "\r\nA report\r\n   Passed: x\r\nEnd of report\r\n");
  EXPECT_TRUE(Enabled(Control::SaveAsBtn));
}

TEST_F(MainFormTest, MemoShowsAReportOfSeveralMegabytesWhole) {
  driver.lines.assign(40000, std::string(70, 'x'));  // 2.88 MB with line ends
  Choose(Control::ComboBox1, 0);
  Click(Control::CreateBtn);
  EXPECT_EQ(Memo().size(), 40000u * 72u);
}

class SaveAsTest : public MainFormTest {
 protected:
  std::string folder;
  void SetUp() override {
    MainFormTest::SetUp();
    char buffer[MAX_PATH];
    ::GetTempPathA(MAX_PATH, buffer);
    folder = std::string(buffer) + "vorlix-save-test\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    Choose(Control::ComboBox1, 0);
    Click(Control::CreateBtn);
  }
  void TearDown() override {
    for (const auto& name : Files()) ::DeleteFileA((folder + name).c_str());
    ::RemoveDirectoryA(folder.c_str());
  }
  std::vector<std::string> Files() {
    std::vector<std::string> names;
    auto start = files.FindFirst(folder + "*.*");
    while (start.search) {
      auto entry = start.search->Next();
      if (!entry) break;
      if (entry->name != "." && entry->name != "..") names.push_back(entry->name);
    }
    return names;
  }
  void TypeIntoMemo(const char* text) {
    HWND memo = Get(Control::Memo1);
    ::SendMessageA(memo, EM_SETSEL, 0, 0);
    ::SendMessageA(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
};

TEST_F(SaveAsTest, SavesTheMemoWithTheUsersEditAndCrLfLineEnds) {
  TypeIntoMemo("Ticket 42: ");
  fake.dialogs.saveAnswers.push_back(folder + "Vorlix Report.txt");
  Click(Control::SaveAsBtn);
  ASSERT_EQ(fake.dialogs.shown.size(), 1u);
  EXPECT_EQ(fake.dialogs.shown[0].kind, "save");
  EXPECT_EQ(fake.dialogs.shown[0].text, "Vorlix Report.txt");
  EXPECT_EQ(files.ReadAll(folder + "Vorlix Report.txt"),
            "Ticket 42: \r\nA report\r\n   Passed: x\r\nEnd of report\r\n");
  EXPECT_EQ(Files(), std::vector<std::string>{"Vorlix Report.txt"});
}

TEST_F(SaveAsTest, CancelWritesNothing) {
  Click(Control::SaveAsBtn);
  EXPECT_TRUE(Files().empty());
}

TEST_F(SaveAsTest, AFailedSaveLeavesTheExistingFileWholeAndNoStrayFile) {
  const std::string target = folder + "kept.txt";
  {
    auto writer = files.CreateText(target);
    writer->Write("the user's earlier report\r\n");
    writer->Close();
  }
  files.failWritesTo = "vorlix-save-test";
  fake.dialogs.saveAnswers.push_back(target);
  Click(Control::SaveAsBtn);
  ASSERT_EQ(fake.dialogs.shown.size(), 2u);
  EXPECT_EQ(fake.dialogs.shown[1].kind, "error");
  EXPECT_EQ(fake.dialogs.shown[1].text, "I/O error 112: 'half-written file'");
  EXPECT_EQ(files.ReadAll(target), "the user's earlier report\r\n");
  EXPECT_EQ(Files(), std::vector<std::string>{"kept.txt"});
}

TEST_F(MainFormTest, ARepairCommandThatFailsShowsItsMessageAndKeepsTheText) {
  const std::string welcome = Memo();
  Choose(Control::ComboBox1, 0);
  convert = [](const std::string&) -> std::optional<std::string> {
    throw OsError(
        "File :'C:\\Tools\\vorlix.txt' Cannot Be Read. I/O error 5. Nothing was converted.", 5);
  };
  Click(Control::UNCBtn);
  ASSERT_EQ(fake.dialogs.shown.size(), 1u);
  EXPECT_EQ(fake.dialogs.shown[0].kind, "error");
  EXPECT_EQ(fake.dialogs.shown[0].text,
            "File :'C:\\Tools\\vorlix.txt' Cannot Be Read. I/O error 5. Nothing was converted.");
  EXPECT_EQ(Memo(), welcome);
  EXPECT_FALSE(Enabled(Control::SaveAsBtn));
}

TEST_F(MainFormTest, RepairButtonsHandOverToTheirCommands) {
  Click(Control::SaveDriveMapBtn);
  EXPECT_EQ(storeCalls, 1);

  std::string asked;
  convert = [&](const std::string& program) {
    asked = program;
    return std::optional<std::string>("converted\r\n");
  };
  Choose(Control::ComboBox1, 5);
  Click(Control::UNCBtn);
  EXPECT_EQ(asked, "Gaspin");
  EXPECT_EQ(Memo(), "converted\r\n");
  EXPECT_TRUE(Enabled(Control::SaveAsBtn));

  convert = [](const std::string&) { return std::optional<std::string>(); };
  Click(Control::UNCBtn);
  EXPECT_EQ(Memo(), "converted\r\n");  // no text: the window keeps its own
}

// The licence folder on a letter this session does not have, and the project folder missing:
// two likely causes, on lines 3 and 5 and on line 6.
void WriteFailingReport(report::ReportFile& file) {
  file.WriteTitle("");
  file.WriteTitle("Checking licence folder...");
  file.SetCheck(report::Check::LicenceFolder);
  report::WriteCheckLine(file, 1, "L:\\Licence ...is missing", false);
  file.NoteFacts({false, std::nullopt});
  file.SetCheck(report::Check::LicenceFolderUnc);
  file.WriteLine("   As UNC:");
  report::WriteCheckLine(file, 1, "L:\\Licence ...is missing", false);
  file.NoteFacts({false, std::nullopt});
  file.SetCheck(report::Check::ProjectFolder);
  report::WriteCheckLine(file, 1, "C:\\Gone ...is missing", false);
  file.WriteTitle("End of report");
}

// The row under the text box tells the likely cause of the report it shows, and "&Findings..."
// lists each cause with its repair and the lines of the text box it rests on.
TEST_F(MainFormTest, TheVerdictOfTheReportAndItsFindings) {
  EXPECT_EQ(Text(Control::VerdictText), "");  // before any report
  EXPECT_FALSE(Enabled(Control::FindingsBtn));
  EXPECT_NE(::GetWindowLongA(Get(Control::VerdictText), GWL_STYLE) & SS_ENDELLIPSIS, 0);

  Choose(Control::ComboBox1, 0);
  driver.script = [](report::ReportFile& file) {
    file.SetCheck(report::Check::MakerFolder);
    report::WriteCheckLine(file, 1, "C:\\Tarnwick ...found", true);
  };
  Click(Control::CreateBtn);
  EXPECT_EQ(Text(Control::VerdictText), "No check failed.");
  EXPECT_FALSE(Enabled(Control::FindingsBtn));

  driver.script = [](report::ReportFile& file) {
    file.SetCheck(report::Check::FileFormatSettings);
    report::WriteCheckLine(file, 1, "HKEY_LOCAL_MACHINE\\x=     ...missing", false);
    report::WriteCheckLine(file, 1, "HKEY_LOCAL_MACHINE\\y=     ...missing", false);
  };
  Click(Control::CreateBtn);
  EXPECT_EQ(Text(Control::VerdictText),
            "1 check failed; no known cause. Save the report and send it to your support.");
  EXPECT_FALSE(Enabled(Control::FindingsBtn));

  driver.script = WriteFailingReport;
  Click(Control::CreateBtn);
  const std::string verdict =
      "Likely cause: Licence folder: drive letter not connected here (and 1 more)";
  EXPECT_EQ(Text(Control::VerdictText), verdict);
  EXPECT_TRUE(Enabled(Control::FindingsBtn));
  // The memo holds exactly the report.
  EXPECT_EQ(
      Memo(),
      "\r\nChecking licence folder...\r\n   FAILED: L:\\Licence ...is missing\r\n   As UNC:"
      "\r\n   FAILED: L:\\Licence ...is missing\r\n   FAILED: C:\\Gone ...is missing\r\nEnd of "
      "report\r\n");

  // Too narrow a row cuts what is shown, never the text.
  RECT frame;
  ::GetWindowRect(form->handle(), &frame);
  ::SetWindowPos(form->handle(), nullptr, 0, 0, frame.right - frame.left - 300,
                 frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Place(Control::VerdictText).right, 100);
  EXPECT_EQ(Text(Control::VerdictText), verdict);

  // The dialog, owned by the window, shows the causes as text that can be selected; Escape
  // closes it.
  static std::string shown;
  static HWND owner;
  static bool escaped;
  shown.clear();
  owner = nullptr;
  escaped = false;
  const auto look = [](HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowA(MAKEINTATOM(32770), kFindingsCaption);
    if (!dialog) return;
    HWND text = ::GetDlgItem(dialog, kFindingsTextId);
    if (shown.empty()) {
      std::string buffer(8192, '\0');
      buffer.resize(::GetWindowTextA(text, buffer.data(), static_cast<int>(buffer.size())));
      shown = buffer;
      owner = ::GetWindow(dialog, GW_OWNER);
      escaped = (::GetWindowLongA(text, GWL_STYLE) & ES_READONLY) != 0;
      ::PostMessageA(text, WM_KEYDOWN, VK_ESCAPE, 0);
      return;
    }
    escaped = false;  // still open after Escape
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ::KillTimer(nullptr, timer);
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, look);
  Click(Control::FindingsBtn);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(owner, form->handle());
  EXPECT_TRUE(escaped) << "read-only text, closed by Escape";
  EXPECT_EQ(::FindWindowA(MAKEINTATOM(32770), kFindingsCaption), nullptr);
  EXPECT_EQ(shown.find("Findings:\r\n\r\n  Licence folder: drive letter not connected here\r\n"
                       "    Cause:  The licence folder is on a drive letter and missing,"),
            0u)
      << shown;
  EXPECT_NE(shown.find("    - lines 3, 5\r\n\r\n  Project folder missing or not writable\r\n"),
            std::string::npos)
      << shown;
  EXPECT_TRUE(shown.ends_with("    - line 6\r\n")) << shown;

  // A repair command shows no report: no verdict.
  convert = [](const std::string&) { return std::optional<std::string>("converted\r\n"); };
  Click(Control::UNCBtn);
  EXPECT_EQ(Text(Control::VerdictText), "");
  EXPECT_FALSE(Enabled(Control::FindingsBtn));
  Click(Control::CreateBtn);
  Click(Control::SaveDriveMapBtn);
  EXPECT_EQ(Text(Control::VerdictText), "");
  EXPECT_FALSE(Enabled(Control::FindingsBtn));
}

class KeyboardTest : public MainFormTest {
 protected:
  bool Key(UINT message, WPARAM key, HWND target) {
    MSG msg{target, message, key, 0, 0, {}};
    const bool used = form->PreTranslateMessage(msg);
    if (!used) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    return used;
  }
};

TEST_F(KeyboardTest, TabMovesThroughTheControlsInLayoutOrder) {
  Choose(Control::ComboBox1, 0);
  driver.script = WriteFailingReport;
  Click(Control::CreateBtn);  // every button enabled
  const Control order[] = {Control::ComboBox1, Control::ComboBox2,   Control::CreateBtn,
                           Control::SaveAsBtn, Control::Memo1,       Control::SaveDriveMapBtn,
                           Control::UNCBtn,    Control::FindingsBtn, Control::CloseBtn,
                           Control::ComboBox1};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(::GetNextDlgTabItem(form->handle(), Get(order[i]), FALSE), Get(order[i + 1]))
        << "after control " << static_cast<int>(order[i]);
  }
}

TEST_F(KeyboardTest, AltCMakesAReportOnceAProgramIsChosen) {
  ::SetFocus(Get(Control::ComboBox1));
  EXPECT_TRUE(Key(WM_SYSCHAR, 'c', Get(Control::ComboBox1)));
  EXPECT_EQ(driver.runs, 0);  // nothing chosen: the focus moves on, nothing is clicked
  EXPECT_TRUE(::IsWindow(form->handle()));

  Choose(Control::ComboBox1, 3);
  EXPECT_TRUE(Key(WM_SYSCHAR, 'c', Get(Control::ComboBox1)));
  testing::WaitForCommand(*form);
  EXPECT_EQ(driver.runs, 1);
  EXPECT_EQ(::GetFocus(), Get(Control::CreateBtn));  // back where the click left it
  EXPECT_EQ(driver.program, "Delmoran");
  EXPECT_TRUE(Enabled(Control::SaveAsBtn));

  fake.dialogs.saveAnswers.push_back(std::nullopt);
  EXPECT_TRUE(Key(WM_SYSCHAR, 'S', Get(Control::Memo1)));
  ASSERT_FALSE(fake.dialogs.shown.empty());
  EXPECT_EQ(fake.dialogs.shown.back().kind, "save");
}

// F is the mnemonic of "&Findings..." alone; it acts only while there are findings to show.
TEST_F(KeyboardTest, AltFOpensTheFindingsOnlyWhenThereAreSome) {
  static bool opened;
  opened = false;
  const auto close = [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND dialog = ::FindWindowA(MAKEINTATOM(32770), kFindingsCaption)) {
      opened = true;
      ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, close);
  MSG alt{Get(Control::Memo1), WM_SYSCHAR, 'f', 0, 0, {}};
  form->PreTranslateMessage(alt);  // before any report: the disabled button takes nothing
  EXPECT_FALSE(opened);
  Choose(Control::ComboBox1, 0);
  driver.script = WriteFailingReport;
  Click(Control::CreateBtn);
  EXPECT_TRUE(Key(WM_SYSCHAR, 'f', Get(Control::Memo1)));
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(opened);
  EXPECT_EQ(::GetFocus(), Get(Control::FindingsBtn));
}

}  // namespace
}  // namespace vorlix::app
