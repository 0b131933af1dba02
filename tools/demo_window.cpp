// Tells what the window of a demo ended with: waits for Vorlix's main window and prints its
// verdict line, as the window shows it.
//   demo_window once   as soon as a report's verdict stands and no command runs
//   demo_window last   the last verdict shown before the window closed (a user drives it)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>

#include "app/command_running.h"
#include "app/main_form.h"
#include "support/patience.h"
#include "support/vorlix_run.h"

namespace {

using Clock = std::chrono::steady_clock;

// Empty when there is none, or when the window did not answer.
std::string Verdict(HWND window) {
  const HWND line = ::GetDlgItem(window, vorlix::testing::VorlixRun::kFirstControlId +
                                             static_cast<int>(vorlix::app::Control::VerdictText));
  char text[512] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(line, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, vorlix::testing::kPatienceMs, &copied)) {
    return {};
  }
  return std::string(text, copied);
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool last = argc > 1 && std::string_view(argv[1]) == "last";
  HWND window = nullptr;
  for (const auto until = vorlix::testing::PatienceFromNow(); !window && Clock::now() < until;) {
    window = ::FindWindowA("TForm1", vorlix::app::kFormCaption);
    if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (!window) {
    std::fprintf(stderr, "demo_window: Vorlix did not open its window\n");
    return 1;
  }
  std::string shown;
  for (auto until = vorlix::testing::PatienceFromNow(); ::IsWindow(window);) {
    const bool running = ::GetPropA(window, vorlix::app::kCommandRunningProperty) != nullptr;
    const std::string now = Verdict(window);
    if (!now.empty() && !running) {
      shown = now;
      if (!last) break;
    }
    if (!last && Clock::now() > until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  if (shown.empty()) {
    std::fprintf(stderr, "demo_window: the window showed no verdict\n");
    return 1;
  }
  std::printf("%s\n", shown.c_str());
  return 0;
}
