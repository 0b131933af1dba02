// The two-step repair with a live mapped drive, through the real vorlix.exe as a user runs it:
// a normal run from the mapped drive reports and stores the drive map, then a run that no longer
// sees the letter (as under "Run as administrator") converts the stored paths.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/main_form.h"
#include "support/live_drive.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"

namespace vorlix::app {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

constexpr int kFirstControlId = 100;

Lines SplitLines(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

// The count lines that follow the first line equal to `heading`.
Lines After(const Lines& lines, const std::string& heading, std::size_t count) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == heading) {
      return Lines(
          lines.begin() + static_cast<std::ptrdiff_t>(i + 1),
          lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), i + 1 + count)));
    }
  }
  ADD_FAILURE() << "no line " << heading;
  return {};
}

// One vorlix.exe process, driven from outside through its window's messages.
class VorlixRun {
 public:
  explicit VorlixRun(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_)) {
      ADD_FAILURE() << "cannot start " << exe << ": " << ::GetLastError();
      return;
    }
    for (int i = 0; i < 200 && !window_; ++i) {
      window_ = OwnWindow(nullptr, kFormCaption);
      if (!window_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!window_) ADD_FAILURE() << "no window from " << exe;
  }
  ~VorlixRun() {
    if (!process_.hProcess) return;
    if (window_) ::PostMessageA(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.hProcess, 1);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  VorlixRun(const VorlixRun&) = delete;
  VorlixRun& operator=(const VorlixRun&) = delete;

  bool started() const { return window_ != nullptr; }

  void Choose(Control list, int index) {
    const HWND combo = Item(list);
    ::SendMessageA(combo, CB_SETCURSEL, index, 0);
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(Id(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
  }
  // Sent: returns once the click has been handled. Only for clicks that open no message box.
  void Press(Control button) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window_, WM_COMMAND, MAKEWPARAM(Id(button), BN_CLICKED),
                          reinterpret_cast<LPARAM>(Item(button)), SMTO_NORMAL, 60000, &result);
  }
  // Posted, as a message box follows the click; Answer() it.
  void Click(Control button) {
    ::PostMessageA(window_, WM_COMMAND, MAKEWPARAM(Id(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(button)));
  }
  // Waits for the next message box, answers it with the button and returns its text.
  std::string Answer(int button) {
    for (int i = 0; i < 400; ++i) {
      if (const HWND box = OwnWindow("#32770", nullptr)) {
        char text[1024] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        for (int j = 0; j < 200 && ::IsWindow(box); ++j) {
          std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return text;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    ADD_FAILURE() << "no message box";
    return {};
  }
  // The memo's text once the window handles a message again (a running click has ended).
  std::string Memo() {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    const HWND memo = Item(Control::Memo1);
    const auto length = ::SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(memo, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

 private:
  static int Id(Control which) { return kFirstControlId + static_cast<int>(which); }
  HWND Item(Control which) const { return ::GetDlgItem(window_, Id(which)); }

  // A visible top-level window of this process with the class or caption given.
  HWND OwnWindow(const char* windowClass, const char* caption) const {
    struct Search {
      DWORD process;
      const char* windowClass;
      const char* caption;
      HWND found;
    } search{process_.dwProcessId, windowClass, caption, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(window, &owner);
          if (owner != s.process || !::IsWindowVisible(window)) return TRUE;
          char text[256] = {};
          if (s.windowClass)
            ::GetClassNameA(window, text, sizeof text);
          else
            ::GetWindowTextA(window, text, sizeof text);
          if (std::string(text) != (s.windowClass ? s.windowClass : s.caption)) return TRUE;
          s.found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

std::string BuiltExe() {
  char own[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, length);
  path = path.substr(0, path.find_last_of('\\'));  // ...\tests
  return path.substr(0, path.find_last_of('\\')) + "\\vorlix.exe";
}

bool CopyWhole(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

TEST(LiveMappedDrive, ReportStoreAndConvertThroughTheRealWindow) {
  testing::LiveMappedDrive drive('T', "fs1", "shared");
  const std::string share = drive.served();
  const std::string server = share.substr(0, share.find_last_of('\\'));
  struct Cleanup {
    std::string server;
    ~Cleanup() { testing::RemoveTree(server); }
  } cleanup{server};
  for (const char* folder : {"\\x", "\\Apps", "\\Apps\\Ostrelan", "\\Shared"}) {
    ASSERT_TRUE(::CreateDirectoryA((share + folder).c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ASSERT_TRUE(CopyWhole(BuiltExe(), share + "\\x\\vorlix.exe"));
  ASSERT_TRUE(testing::WriteWholeFile(share + "\\Apps\\Ostrelan\\Ostrelan.exe", "MZ\r\n"));
  ASSERT_TRUE(testing::WriteWholeFile(share + "\\Apps\\Ostrelan\\Ostrelan.Ini",
                                      "[Ostrelan]\r\nLicenseFolder=T:\\Shared\r\n"));
  testing::ScratchKey maker(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick");
  testing::ScratchKey ostrelan(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Ostrelan");
  maker.SetString("TarnWickPath", "T:\\Apps");
  ostrelan.SetString("Path", "T:\\Apps\\Ostrelan");
  const std::string unc = drive.unc();

  {  // The user's normal run, started from the mapped drive.
    VorlixRun run("T:\\x\\vorlix.exe");
    ASSERT_TRUE(run.started());
    run.Choose(Control::ComboBox1, 0);
    run.Choose(Control::ComboBox2, 1);
    run.Press(Control::CreateBtn);
    const Lines report = SplitLines(run.Memo());
    EXPECT_THAT(After(report, "Vorlix.exe", 4),
                ElementsAre("   Path     ='T:\\x\\vorlix.exe'", "   Drive    ='T:'",
                            "   UNCPath  ='" + unc + "\\x\\vorlix.exe'", "   UNCDrive ='\\\\FS1'"));
    EXPECT_THAT(After(report, "Checking licence folder...", 4),
                ElementsAre("   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=T:\\Shared",
                            "   Passed: T:\\Shared ...found",
                            "   As UNC:", "   Passed: " + unc + "\\Shared ...found"));
    EXPECT_THAT(
        After(report, "Checking licence folder drive...", 3),
        ElementsAre("   Passed: 'T:' = 'T:'", "   As UNC:", "   Passed: '\\\\FS1' = '\\\\FS1'"));

    run.Click(Control::SaveDriveMapBtn);
    EXPECT_EQ(run.Answer(IDOK), "File :'T:\\x\\vorlix.txt' Created.");
    EXPECT_EQ(testing::ReadWholeFile(share + "\\x\\vorlix.txt"), "T:=" + unc + "\r\n");
  }

  // The letter is gone; the same exe is started by another of its names.
  drive.Unmap();
  ASSERT_EQ(::GetFileAttributesA("T:\\x\\vorlix.exe"), INVALID_FILE_ATTRIBUTES);
  VorlixRun run(share + "\\x\\vorlix.exe");
  ASSERT_TRUE(run.started());
  run.Choose(Control::ComboBox1, 0);
  run.Click(Control::UNCBtn);
  EXPECT_THAT(run.Answer(IDYES), ::testing::HasSubstr("Run as administrator"));
  const Lines conversion = SplitLines(run.Memo());
  EXPECT_THAT(conversion, Contains("T:=" + unc));
  EXPECT_EQ(maker.GetString("TarnwickPath"), unc + "\\Apps");
  EXPECT_EQ(ostrelan.GetString("Path"), unc + "\\Apps\\Ostrelan");
  char licence[MAX_PATH] = {};
  ::GetPrivateProfileStringA("Ostrelan", "LicenseFolder", "", licence, MAX_PATH,
                             (share + "\\Apps\\Ostrelan\\Ostrelan.Ini").c_str());
  EXPECT_EQ(std::string(licence), unc + "\\Shared");

  run.Choose(Control::ComboBox2, 1);
  run.Press(Control::CreateBtn);
  const Lines report = SplitLines(run.Memo());
  EXPECT_THAT(After(report, "Checking TarnwickPath...", 1),
              ElementsAre("   Passed: " + unc + "\\Apps ...found"));
  EXPECT_THAT(After(report, "Checking program path...", 1),
              ElementsAre("   Passed: " + unc + "\\Apps\\Ostrelan ...found"));
  EXPECT_THAT(After(report, "Checking licence folder...", 2),
              ElementsAre("   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=" + unc + "\\Shared",
                          "   Passed: " + unc + "\\Shared ...found"));
  EXPECT_THAT(report, Contains("   Passed: File creation successful"));
}

}  // namespace
}  // namespace vorlix::app
