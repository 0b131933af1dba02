// Times a "Full" report over a licence folder of N entries as the user meets it: this process
// starts the built vorlix.exe, chooses the program and "Full", clicks "&Create" from outside and
// waits until the click has been handled and the memo is painted; the memo must then hold the
// whole report. In the same run, on the same folder:
//   floor  a bare FindFirstFileA/FindNextFileA pass plus one SetWindowTextA of the same text into
//          an edit control made like the memo, with the memo's font, painted;
//   peer   "cmd /c dir /a" of the folder;
//   parts  the report in this process, step by step: its text written, the temporary file's
//          round trip, the memo's load.
// Usage: report_bench.exe <entries> [rounds [peer rounds]]; vorlix.exe is taken from the folder
// above this program's. Prints one line of figures; builds its machine state in a temporary
// folder and the registry, and removes both again.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"

#include "app/main_form.h"
#include "app/win32_dialogs.h"
#include "platform/platform.h"
#include "report/report_driver.h"
#include "report/temp_report.h"
#include "support/scratch_files.h"
#include "support/vorlix_run.h"
#include "support/win32_platform.h"

namespace {

using vorlix::bench::Median;
using vorlix::bench::Seconds;

using vorlix::app::Control;
using vorlix::testing::RemoveTree;
using vorlix::testing::VorlixRun;

constexpr const char* kProgram = "Ostrelan";
constexpr const char* kFamilyKey = "Software\\Tarnwick";
constexpr DWORD kMemoStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                             ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                             ES_NOHIDESEL;
constexpr unsigned kClickTimeoutMs = 10 * 60 * 1000;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "report_bench: %s failed (%lu)\n", what.c_str(), ::GetLastError());
  std::exit(2);
}

// The two windows overlap on the screen; the one timed is on top, as the user's would be.
void OnTop(HWND window) {
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::UpdateWindow(window);
}

void WriteFile(const std::string& path, const std::string& content) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("CreateFileA");
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(file);
}

void SetValue(HKEY root, const std::string& subkey, const char* name, const std::string& value) {
  HKEY key = nullptr;
  const std::string path = std::string(kFamilyKey) + "\\" + subkey;
  if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    Fail("RegCreateKeyExA");
  }
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

bool KeyExists(HKEY root) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, kFamilyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// Wine looks for every new name in the whole folder under other spellings, which makes filling
// a large folder quadratic; through its "\\?\unix" form a name is taken exactly as given. Used
// only to build the folder; the report and the references see the ordinary name.
std::string CaseSensitiveName(const std::string& folder) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!unixName) return folder;
  wchar_t wide[MAX_PATH];
  if (!::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH)) return folder;
  char* found = unixName(wide);
  if (!found) return folder;
  std::string name = "\\\\?\\unix";
  for (const char* c = found; *c; ++c) name += *c == '/' ? '\\' : *c;
  ::HeapFree(::GetProcessHeap(), 0, found);
  return name;
}

// An installed program whose licence folder holds `entries` empty files; removed on destruction.
class BenchMachine {
 public:
  explicit BenchMachine(int entries) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "VorlixBench" + std::to_string(::GetCurrentProcessId());
    licence = root + "\\Licence";
    const std::string program = root + "\\Prog";
    const std::string project = root + "\\Projects";
    hadMachineKey_ = KeyExists(HKEY_LOCAL_MACHINE);
    hadUserKey_ = KeyExists(HKEY_CURRENT_USER);
    for (const std::string& folder : {root, licence, program, project}) {
      if (!::CreateDirectoryA(folder.c_str(), nullptr)) Fail("CreateDirectoryA");
    }
    WriteFile(program + "\\Ostrelan.exe", "MZ");
    WriteFile(program + "\\Ostrelan.Ini", "[Ostrelan]\r\nLicenseFolder=" + licence + "\r\n");
    const std::string creation = CaseSensitiveName(licence);
    char name[32];
    for (int i = 0; i < entries; ++i) {
      std::snprintf(name, sizeof name, "\\lic%06d.dat", i);
      HANDLE file = ::CreateFileA((creation + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) Fail("CreateFileA");
      ::CloseHandle(file);
    }
    SetValue(HKEY_LOCAL_MACHINE, "Tarnwick", "TarnWickPath", root);
    SetValue(HKEY_LOCAL_MACHINE, kProgram, "Path", program);
    SetValue(HKEY_CURRENT_USER, "Tarnwick", "TarnWickProjectPath", project);
  }
  ~BenchMachine() {
    RemoveTree(root);
    const std::string programKey = std::string(kFamilyKey) + "\\" + kProgram;
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, programKey.c_str());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, programKey.c_str());
    if (!hadMachineKey_) {
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFamilyKey);
      ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kFamilyKey);
    }
    if (!hadUserKey_) {
      ::RegDeleteTreeA(HKEY_CURRENT_USER, kFamilyKey);
      ::RegDeleteKeyA(HKEY_CURRENT_USER, kFamilyKey);
    }
  }
  BenchMachine(const BenchMachine&) = delete;
  BenchMachine& operator=(const BenchMachine&) = delete;

  std::string root;
  std::string licence;

 private:
  bool hadMachineKey_ = false;
  bool hadUserKey_ = false;
};

// A top-level window of the main window's size holding one edit control made like the memo:
// same class, styles, place, text limit and font request.
class MemoWindow {
 public:
  MemoWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "VorlixBenchFrame";
    ::RegisterClassExA(&windowClass);
    frame_ = ::CreateWindowExA(0, windowClass.lpszClassName, "bench",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 920, 780,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
    memo_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", kMemoStyle, 7, 49, 889, 618, frame_,
                              nullptr, windowClass.hInstance, nullptr);
    if (!frame_ || !memo_) Fail("CreateWindowExA");
    font_ = ::CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          FIXED_PITCH | FF_MODERN, "Courier New");
    ::SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ::SendMessageA(memo_, EM_SETLIMITTEXT, 0, 0);
    Pump();
  }
  ~MemoWindow() {
    ::DestroyWindow(frame_);
    ::DeleteObject(font_);
  }
  MemoWindow(const MemoWindow&) = delete;
  MemoWindow& operator=(const MemoWindow&) = delete;

  // The whole text at once, painted before returning.
  void Show(const std::string& text) {
    ::SetWindowTextA(memo_, text.c_str());
    ::UpdateWindow(frame_);
  }
  // The state before a timed load: on top, with the text the product's memo held, settled.
  void Prepare(const std::string& text) {
    OnTop(frame_);
    Show(text);
    Pump();
  }

 private:
  static void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }
  HWND frame_ = nullptr;
  HWND memo_ = nullptr;
  HFONT font_ = nullptr;
};

struct Platform {
  vorlix::testing::Win32Platform os;
  vorlix::platform::FileSystem& files = os.files();
  vorlix::app::Win32Dialogs dialogs;
  vorlix::platform::Platform platform = os.With(dialogs);
};

std::string VorlixExe() {
  char own[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, length);
  path = path.substr(0, path.find_last_of('\\'));  // ...\bench
  return path.substr(0, path.find_last_of('\\')) + "\\vorlix.exe";
}

// What a report text holds: its lines, its listing lines and its last line.
struct Shape {
  long lines = 0;
  long listing = 0;
  std::string last;
};

Shape ShapeOf(const std::string& text) {
  Shape shape;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    ++shape.lines;
    if (text.compare(start, 11, "      Time=") == 0) ++shape.listing;
    shape.last.assign(text, start, end - start);
    start = end + 2;
  }
  return shape;
}

// One click on "&Create" in the real window, until handled and painted.
double TimedClick(VorlixRun& run) {
  const double start = Seconds();
  if (!run.ClickAndWait(Control::CreateBtn, kClickTimeoutMs) ||
      !run.WaitForCommand(kClickTimeoutMs)) {
    Fail("the click on Create");
  }
  ::UpdateWindow(run.window());
  return Seconds() - start;
}

double TimedFloor(const std::string& folder, const std::string& text, MemoWindow& memo,
                  long& entries, double& listSeconds) {
  const double start = Seconds();
  WIN32_FIND_DATAA data;
  entries = 0;
  HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do ++entries;
    while (::FindNextFileA(find, &data));
    ::FindClose(find);
  }
  listSeconds = Seconds() - start;
  memo.Show(text);
  return Seconds() - start;
}

// The report in this process, as the window makes it, in its three steps.
struct Parts {
  double text = 0;  // temporary file made, report written into it
  double file = 0;  // file closed and deleted
  double memo = 0;  // text loaded into the memo and painted
};

Parts TimedParts(Platform& p, MemoWindow& memo) {
  vorlix::report::DiagnosticReport driver(p.platform);
  Parts parts;
  double written = 0;
  const double start = Seconds();
  const std::string text =
      vorlix::report::WriteThroughTempFile(p.files, [&](vorlix::report::ReportFile& file) {
        driver.Run(file, kProgram, 2);
        written = Seconds();
      });
  const double done = Seconds();
  parts.text = written - start;
  parts.file = done - written;
  memo.Show(text);
  parts.memo = Seconds() - done;
  return parts;
}

double TimedPeer(const std::string& folder) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE null = ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = null;
  startup.hStdOutput = null;
  startup.hStdError = null;
  PROCESS_INFORMATION process{};
  std::string command = "cmd /c dir /a \"" + folder + "\"";
  const double start = Seconds();
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
    Fail("CreateProcessA");
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = Seconds() - start;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(null);
  return seconds;
}

double Megabytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: report_bench <entries> [rounds [peer rounds]]\n");
    return 1;
  }
  const int entries = std::atoi(argv[1]);
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  // The peer is slow on large folders; fewer rounds of it keep the run short.
  const int peerRounds = argc > 3 ? std::max(0, std::atoi(argv[3])) : rounds;

  const double createStart = Seconds();
  BenchMachine machine(entries);
  const double createSeconds = Seconds() - createStart;
  MemoWindow memo;
  Platform platform;

  VorlixRun run(VorlixExe());
  if (!run.started()) Fail(run.error());
  run.Choose(Control::ComboBox1, 0);
  run.Choose(Control::ComboBox2, 1);

  // The window, the floor and the in-process steps take turns, so that none meets a heap or
  // cache the others have not. Each load starts from the text the product's memo held before
  // its click: the welcome text first, then the previous report.
  std::vector<double> report, floor, floorList, text, file, load, peer;
  std::string shown;
  Shape shape;
  long listed = 0;
  long memoLines = 0;
  bool whole = true;
  for (int i = 0; i < rounds; ++i) {
    // Read from outside only once: a user's next click meets the previous report untouched.
    const std::string before = i == 0 ? run.Memo() : shown;
    OnTop(run.window());
    run.WaitIdle();
    report.push_back(TimedClick(run));
    shown = run.Memo();
    shape = ShapeOf(shown);
    memoLines = static_cast<long>(::SendMessageA(run.Item(Control::Memo1), EM_GETLINECOUNT, 0, 0));

    memo.Prepare(before);
    double listSeconds = 0;
    floor.push_back(TimedFloor(machine.licence, shown, memo, listed, listSeconds));
    floorList.push_back(listSeconds);
    // The memo shows an empty line after the last line end; the listing holds every entry.
    whole = whole && shape.last == "End of report" && shape.listing == listed &&
            memoLines == shape.lines + 1;

    memo.Prepare(before);
    const Parts parts = TimedParts(platform, memo);
    text.push_back(parts.text);
    file.push_back(parts.file);
    load.push_back(parts.memo);
    if (::GetEnvironmentVariableA("VORLIX_BENCH_VERBOSE", nullptr, 0)) {
      std::fprintf(
          stderr, "round %d: report %.1f floor %.1f (list %.1f) text %.1f file %.1f memo %.1f ms\n",
          i, report.back() * 1e3, floor.back() * 1e3, listSeconds * 1e3, parts.text * 1e3,
          parts.file * 1e3, parts.memo * 1e3);
    }
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  ::K32GetProcessMemoryInfo(run.process(), &memory, sizeof memory);
  for (int i = 0; i < peerRounds; ++i) peer.push_back(TimedPeer(machine.licence));

  const double r = Median(report);
  const double f = Median(floor);
  const double p = peer.empty() ? 0.0 : Median(peer);
  std::printf(
      "entries=%d listed=%ld text_bytes=%zu lines=%ld memo_lines=%ld whole=%d create_s=%.2f "
      "report_ms=%.1f first_click_ms=%.1f floor_ms=%.1f floor_list_ms=%.1f peer_ms=%.1f "
      "text_ms=%.1f file_ms=%.1f memo_ms=%.1f report_us_per_entry=%.2f ratio_floor=%.3f "
      "ratio_peer=%.3f peak_working_set_mb=%.1f peak_pagefile_mb=%.1f\n",
      entries, listed, shown.size(), shape.lines, memoLines, whole ? 1 : 0, createSeconds, r * 1e3,
      report[0] * 1e3, f * 1e3, Median(floorList) * 1e3, p * 1e3, Median(text) * 1e3,
      Median(file) * 1e3, Median(load) * 1e3, r * 1e6 / std::max(entries, 1), r / f,
      p > 0 ? r / p : 0.0, Megabytes(memory.PeakWorkingSetSize),
      Megabytes(memory.PeakPagefileUsage));
  if (!whole) {
    std::fprintf(stderr, "report_bench: the memo did not hold the whole report (last line '%s')\n",
                 shape.last.c_str());
    return 3;
  }
  return 0;
}
