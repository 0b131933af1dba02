// The real window with the real Windows adapters, used for many commands in a row: the process's
// handles, GDI and USER objects and private bytes must stay flat, and nothing may be left behind.
// VORLIX_ENDURANCE_REPORTS and VORLIX_ENDURANCE_REPAIRS set the counts (the endurance script runs
// 500 and 100).

#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "drivemap/drive_map_commands.h"
#include "fakes/fake_dialogs.h"
#include "report/report_driver.h"
#include "support/form_idle.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"
#include "support/win32_platform.h"

namespace vorlix::app {
namespace {

using testing::Matching;
using testing::WriteWholeFile;

int Count(const char* variable, int fallback) {
  const char* text = std::getenv(variable);
  return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

struct Usage {
  DWORD handles = 0;
  DWORD gdi = 0;
  DWORD user = 0;
  SIZE_T privateBytes = 0;
};

// Where the system keeps no count (Wine answers 0), the next free slot of a table stands in: a
// leak uses up the free slots, so the number climbs.
DWORD NextHandleSlot() {
  HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const auto slot = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(event) / 4);
  ::CloseHandle(event);
  return slot;
}

// The GDI table hands out the slot freed last first, so one object's slot moves with whatever a
// repaint freed; the highest of a batch is where the table's use ends.
DWORD NextGdiSlot() {
  HPEN pens[32];
  DWORD slot = 0;
  for (HPEN& pen : pens) {
    pen = ::CreatePen(PS_SOLID, 1, 0);
    slot = std::max(slot, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(pen) & 0xFFFF));
  }
  for (HPEN pen : pens) ::DeleteObject(pen);
  return slot;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId()) {
    ++*reinterpret_cast<DWORD*>(count);
    ::EnumChildWindows(window, CountChild, count);  // all descendants
  }
  return TRUE;
}

// Windows are the USER objects this program makes; counted where the system keeps no count.
DWORD WindowCount() {
  DWORD count = 0;
  ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool countsAreSlots = false;

Usage Sample() {
  Usage usage;
  ::GetProcessHandleCount(::GetCurrentProcess(), &usage.handles);
  usage.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  usage.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  if (usage.handles == 0 || usage.gdi == 0 || usage.user == 0) {
    countsAreSlots = true;
    usage.handles = NextHandleSlot();
    usage.gdi = NextGdiSlot();
    usage.user = WindowCount();
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
  // Wine leaves PrivateUsage at 0; its PagefileUsage is the same private commit.
  usage.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  return usage;
}

class EnduranceTest : public ::testing::Test {
 protected:
  testing::Win32Platform os;
  platform::FileSystem& files = os.files();
  fakes::FakeDialogs dialogs;
  platform::Platform system = os.With(dialogs);
  report::DiagnosticReport driver{system};
  std::string root;
  std::string mapFile;

  testing::ScratchKey maker{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick"};
  testing::ScratchKey program{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Ostrelan"};
  testing::ScratchKey user{HKEY_CURRENT_USER, "Software\\Tarnwick\\Tarnwick"};

  void SetUp() override {
    root = files.TempFolder() + "vorlix-endurance";
    for (const char* folder : {"", "\\Ostrelan", "\\Licence", "\\Project"}) {
      ::CreateDirectoryA((root + folder).c_str(), nullptr);
    }
    ASSERT_TRUE(WriteWholeFile(root + "\\Ostrelan\\Ostrelan.exe", "MZ"));
    ASSERT_TRUE(WriteWholeFile(root + "\\Ostrelan\\Ostrelan.Ini",
                               "[Ostrelan]\r\nLicenseFolder=" + root + "\\Licence\r\n"));
    for (int i = 0; i < 20; ++i) {
      ASSERT_TRUE(WriteWholeFile(root + "\\Licence\\file" + std::to_string(i) + ".dat", "x"));
    }
    maker.SetString("TarnWickPath", root);
    program.SetString("Path", root + "\\Ostrelan");
    user.SetString("TarnWickProjectPath", root + "\\Project");
    const std::string exe = files.ExecutablePath();
    mapFile = exe.substr(0, exe.find_last_of('.')) + ".txt";
  }

  void TearDown() override {
    ::DeleteFileA(mapFile.c_str());
    for (const auto& name : Matching(root + "\\Licence\\*.dat")) {
      ::DeleteFileA((root + "\\Licence\\" + name).c_str());
    }
    ::DeleteFileA((root + "\\Ostrelan\\Ostrelan.exe").c_str());
    ::DeleteFileA((root + "\\Ostrelan\\Ostrelan.Ini").c_str());
    for (const char* folder : {"\\Ostrelan", "\\Licence", "\\Project", ""}) {
      ::RemoveDirectoryA((root + folder).c_str());
    }
  }
};

TEST_F(EnduranceTest, ResourcesStayFlatOverManyCommands) {
  const int reports = Count("VORLIX_ENDURANCE_REPORTS", 60);
  const int repairs = Count("VORLIX_ENDURANCE_REPAIRS", 20);
  const std::string tempFolder = files.TempFolder();
  const std::string exeFolder =
      files.ExecutablePath().substr(0, files.ExecutablePath().find_last_of('\\') + 1);
  const auto tempBefore = Matching(tempFolder + "Kx*.tmp");
  const auto exeFolderBefore = Matching(exeFolder + "*.*");

  TForm1 form(::GetModuleHandleA(nullptr),
              {system, driver, [this] { drivemap::StoreDriveMap(system); },
               [this](const std::string& name) { return drivemap::ConvertToUNC(system, name); },
               &os.commands()});
  form.Show(SW_SHOWNORMAL);
  HWND programs = form.control(Control::ComboBox1);
  ::SendMessageA(programs, CB_SETCURSEL, 0, 0);
  ::SendMessageA(form.handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(programs), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(programs));
  ::SendMessageA(form.control(Control::ComboBox2), CB_SETCURSEL, 1, 0);
  auto click = [&](Control c) { testing::ClickAndFinish(form, c); };
  auto pump = [] {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  };

  // Warm-up: the first commands load code, fonts and allocator pools once.
  for (int i = 0; i < 10; ++i) click(Control::CreateBtn);
  pump();
  const Usage start = Sample();
  Usage peak = start;
  auto track = [&](const Usage& now) {
    peak.handles = std::max(peak.handles, now.handles);
    peak.gdi = std::max(peak.gdi, now.gdi);
    peak.user = std::max(peak.user, now.user);
    peak.privateBytes = std::max(peak.privateBytes, now.privateBytes);
  };
  for (int i = 0; i < reports; ++i) {
    click(Control::CreateBtn);
    pump();
    if (i % 10 == 0) track(Sample());
  }
  const std::string report = form.MemoText();
  EXPECT_NE(report.find("End of report"), std::string::npos);
  EXPECT_NE(report.find("LicenseFolder=" + root + "\\Licence"), std::string::npos);

  for (int i = 0; i < repairs; ++i) {
    dialogs.confirmAnswers.push_back(true);  // overwrite the map (after the first save)
    click(Control::SaveDriveMapBtn);
    dialogs.confirmAnswers.clear();
    track(Sample());
  }
  for (int i = 0; i < repairs; ++i) {
    dialogs.confirmAnswers.push_back(true);  // "Run as administrator"
    click(Control::UNCBtn);
    pump();
    track(Sample());
  }
  EXPECT_NE(form.MemoText().find("Converting to UNC file paths"), std::string::npos);
  for (const auto& shown : dialogs.shown) EXPECT_NE(shown.kind, "error") << shown.text;

  const Usage end = Sample();
  std::printf(
      "handles %lu -> %lu (peak %lu), GDI %lu -> %lu, USER %lu -> %lu, "
      "private bytes %zu -> %zu (peak %zu)\n",
      start.handles, end.handles, peak.handles, start.gdi, end.gdi, start.user, end.user,
      start.privateBytes, end.privateBytes, peak.privateBytes);
  std::printf("(%s)\n", countsAreSlots ? "handles and GDI are next free slots, USER is windows"
                                       : "handle, GDI and USER figures are counts");
  // Flat: a handful of handles and objects of slack for the system's own caches, and no growth
  // of private bytes beyond 4 MB however many commands ran.
  EXPECT_LE(peak.handles, start.handles + 8);
  EXPECT_LE(peak.gdi, start.gdi + 4);
  EXPECT_LE(peak.user, start.user + 4);
  EXPECT_LE(peak.privateBytes, start.privateBytes + 4 * 1024 * 1024);

  EXPECT_EQ(Matching(tempFolder + "Kx*.tmp"), tempBefore);
  auto exeFolderAfter = Matching(exeFolder + "*.*");
  std::erase(exeFolderAfter, mapFile.substr(mapFile.find_last_of('\\') + 1));
  EXPECT_EQ(exeFolderAfter, exeFolderBefore);
}

}  // namespace
}  // namespace vorlix::app
