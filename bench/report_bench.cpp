// Times a "Full" diagnostic report over a licence folder of N entries, from the report's start to
// an edit control of the memo's kind showing it, against two references on the same folder:
//   floor  a bare FindFirstFile/FindNextFile pass plus loading a text of the report's size into
//          such an edit control;
//   peer   "cmd /c dir /a" of the folder.
// Usage: report_bench.exe <entries> [rounds [peer rounds]]. Prints one line of figures; builds its
// machine state in a temporary folder and the registry, and removes both again.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win32_dialogs.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_network_names.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "report/report_driver.h"
#include "report/temp_report.h"
#include "support/scratch_files.h"

namespace {

using vorlix::testing::RemoveTree;

constexpr const char* kProgram = "Ostrelan";
constexpr const char* kFamilyKey = "Software\\Tarnwick";
constexpr DWORD kMemoStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                             ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                             ES_NOHIDESEL;

double Seconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "report_bench: %s failed (%lu)\n", what, ::GetLastError());
  std::exit(2);
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

// A top-level window holding one edit control made like the memo.
class MemoWindow {
 public:
  MemoWindow() {
    frame_ = ::CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 920,
                               700, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    memo_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", kMemoStyle, 7, 49, 889, 618, frame_,
                              nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!frame_ || !memo_) Fail("CreateWindowExA");
    font_ = ::CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                          FIXED_PITCH | FF_MODERN, "Courier New");
    ::SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
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
    ::UpdateWindow(memo_);
  }
  void Clear() {
    ::SetWindowTextA(memo_, "");
    Pump();
  }
  int Length() const { return ::GetWindowTextLengthA(memo_); }

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
  vorlix::platform::win32::Win32FileSystem files;
  vorlix::platform::win32::Win32Registry registry;
  vorlix::platform::win32::Win32PrivateProfile profile;
  vorlix::platform::win32::Win32NetworkNames network;
  vorlix::app::Win32Dialogs dialogs;
  vorlix::platform::win32::Win32Clock clock;
  vorlix::platform::Platform platform{files, registry, profile, network, dialogs, clock};
};

// The whole time, and the part until the text is in memory.
std::string TimedReport(Platform& p, MemoWindow& memo, double& seconds, double& textSeconds) {
  vorlix::report::DiagnosticReport driver(p.platform);
  const double start = Seconds();
  const std::string text = vorlix::report::WriteThroughTempFile(
      p.files, [&](vorlix::report::ReportFile& file) { driver.Run(file, kProgram, 2); });
  textSeconds = Seconds() - start;
  memo.Show(text);
  seconds = Seconds() - start;
  return text;
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

  // Report and floor take turns, so that neither meets a heap or cache the other has not. The
  // peak memory is read after the first report, before any floor has run.
  std::vector<double> report, reportText, floor, floorList, peer;
  std::string text;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  int shown = 0;
  long listed = 0;
  for (int i = 0; i < rounds; ++i) {
    memo.Clear();
    double seconds = 0;
    double textSeconds = 0;
    text = TimedReport(platform, memo, seconds, textSeconds);
    report.push_back(seconds);
    reportText.push_back(textSeconds);
    if (i == 0) {
      shown = memo.Length();
      ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    }
    memo.Clear();
    double listSeconds = 0;
    floor.push_back(TimedFloor(machine.licence, text, memo, listed, listSeconds));
    floorList.push_back(listSeconds);
  }
  for (int i = 0; i < peerRounds; ++i) peer.push_back(TimedPeer(machine.licence));

  const double r = Median(report);
  const double f = Median(floor);
  const double p = peer.empty() ? 0.0 : Median(peer);
  std::printf(
      "entries=%d listed=%ld text_bytes=%zu shown=%d create_s=%.2f report_ms=%.1f "
      "report_text_ms=%.1f floor_ms=%.1f floor_list_ms=%.1f peer_ms=%.1f "
      "report_us_per_entry=%.2f ratio_floor=%.2f ratio_peer=%.2f "
      "peak_working_set_mb=%.1f peak_pagefile_mb=%.1f\n",
      entries, listed, text.size(), shown, createSeconds, r * 1e3, Median(reportText) * 1e3,
      f * 1e3, Median(floorList) * 1e3, p * 1e3, r * 1e6 / std::max(entries, 1), r / f, r / p,
      static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0),
      static_cast<double>(memory.PeakPagefileUsage) / (1024.0 * 1024.0));
  return 0;
}
