#pragma once
// One vorlix.exe process, driven from outside through its window's messages, as another program
// on the desktop would: used by the window tests and the speed benchmark.

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/main_form.h"
#include "support/patience.h"

namespace vorlix::testing {

class VorlixRun {
 public:
  static constexpr int kFirstControlId = 100;

  // Starts the exe and waits for its main window; started() tells whether it came.
  explicit VorlixRun(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_)) {
      error_ = "cannot start " + exe + ": " + std::to_string(::GetLastError());
      return;
    }
    for (const auto until = PatienceFromNow();
         !window_ && std::chrono::steady_clock::now() < until;) {
      window_ = OwnWindow(nullptr, app::kFormCaption);
      if (!window_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!window_) error_ = "no window from " + exe;
  }
  ~VorlixRun() {
    if (!process_.hProcess) return;
    if (window_) ::PostMessageA(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.hProcess, 1);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  VorlixRun(const VorlixRun&) = delete;
  VorlixRun& operator=(const VorlixRun&) = delete;

  bool started() const { return window_ != nullptr; }
  const std::string& error() const { return error_; }
  HANDLE process() const { return process_.hProcess; }
  HWND window() const { return window_; }
  HWND Item(app::Control which) const { return ::GetDlgItem(window_, Id(which)); }

  void Choose(app::Control list, int index) {
    const HWND combo = Item(list);
    ::SendMessageA(combo, CB_SETCURSEL, index, 0);
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(Id(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
  }
  // Posted, as a modal dialog may follow the click.
  void Click(app::Control button) {
    ::PostMessageA(window_, WM_COMMAND, MAKEWPARAM(Id(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(button)));
  }
  // Sent: returns once the click has been handled. Only for clicks that open no message box.
  void Press(app::Control button) { ClickAndWait(button, kPatienceMs); }
  // Sent, as a button sends it to its window: returns once the click has been handled; false
  // when that took longer than the timeout.
  bool ClickAndWait(app::Control button, unsigned timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window_, WM_COMMAND, MAKEWPARAM(Id(button), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(Item(button)), SMTO_NORMAL, timeoutMs,
                                 &result) != 0;
  }
  // Waits until every message sent or posted before this call has been handled.
  bool WaitIdle(unsigned timeoutMs = kPatienceMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
  }
  // Waits for the next message box, answers it with the button and returns its text; empty
  // when none came. Tells in lastBoxWasTheWindows whether the box was owned by the
  // main window and shown by its thread.
  std::string Answer(int button) {
    for (const auto until = PatienceFromNow(); std::chrono::steady_clock::now() < until;) {
      if (const HWND box = OwnWindow("#32770", nullptr)) {
        lastBoxWasTheWindows = ::GetWindow(box, GW_OWNER) == window_ &&
                               ::GetWindowThreadProcessId(box, nullptr) ==
                                   ::GetWindowThreadProcessId(window_, nullptr);
        char text[1024] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        for (const auto gone = PatienceFromNow();
             ::IsWindow(box) && std::chrono::steady_clock::now() < gone;) {
          std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return text;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return {};
  }
  // True while a command runs on the window's worker.
  bool CommandRunning() const {
    return ::GetPropA(window_, app::kCommandRunningProperty) != nullptr;
  }
  // Waits until the command in progress has ended.
  bool WaitForCommand(unsigned timeoutMs = kPatienceMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (WaitIdle(timeoutMs) && std::chrono::steady_clock::now() < until) {
      if (!CommandRunning()) return WaitIdle(timeoutMs);  // its end handled whole
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  // The memo's text once the command in progress has ended.
  std::string Memo() {
    WaitForCommand();
    const HWND memo = Item(app::Control::Memo1);
    const auto length = ::SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        ::SendMessageA(memo, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return text;
  }

  bool lastBoxWasTheWindows = false;

 private:
  static int Id(app::Control which) { return kFirstControlId + static_cast<int>(which); }

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
  std::string error_;
};

}  // namespace vorlix::testing
