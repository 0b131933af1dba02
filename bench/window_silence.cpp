// Asks a running vorlix.exe window with WM_NULL every 20 ms while it makes a "Full" report of the
// first program, and prints each answer that took 100 ms or more, with the Unix time it was
// asked at (to set beside a log of the shares' operations), and the longest. With "idle N" it
// asks the idle window for N seconds instead: what the machine itself costs an answer. Built on
// its own by bench/window-silence.sh; needs nothing of the project but the name of the window's
// command-running property.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "app/command_running.h"

namespace {

constexpr int kFirstControlId = 100;
constexpr int kComboBox1 = 0, kComboBox2 = 1, kCreateBtn = 2;
using Clock = std::chrono::steady_clock;

double UnixNow() {
  FILETIME now;
  ::GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
}

HWND Item(HWND window, int which) { return ::GetDlgItem(window, kFirstControlId + which); }

void Choose(HWND window, int list, int index) {
  ::SendMessageA(Item(window, list), CB_SETCURSEL, index, 0);
  ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(kFirstControlId + list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(window, list)));
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool idle = argc > 2 && std::string_view(argv[1]) == "idle";
  const auto idleFor = std::chrono::seconds(idle ? std::atoi(argv[2]) : 0);
  HWND window = nullptr;
  for (int i = 0; i < 400 && !window; ++i) {
    window = ::FindWindowA("TForm1", nullptr);
    if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  Choose(window, kComboBox1, 0);
  Choose(window, kComboBox2, 1);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const auto clicked = Clock::now();
  std::printf("clicked at %.3f\n", UnixNow());
  if (!idle) {
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFirstControlId + kCreateBtn, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(window, kCreateBtn)));
  }
  long long longest = 0;
  double longestAt = 0;
  for (;;) {
    const double askedAt = UnixNow();
    const auto asked = Clock::now();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    const long long took =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count();
    if (took >= 100) std::printf("silence %lld ms asked at %.3f\n", took, askedAt);
    if (took > longest) longest = took, longestAt = askedAt;
    if (idle ? Clock::now() - clicked > idleFor
             : Clock::now() - clicked > std::chrono::milliseconds(200) &&
                   !::GetPropA(window, vorlix::app::kCommandRunningProperty)) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::printf(
      "%s %lld ms, longest silence %lld ms asked at %.3f\n", idle ? "idle" : "report",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - clicked).count()),
      longest, longestAt);
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  return 0;
}
