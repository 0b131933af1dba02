#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/accessible_names.h"
#include "app/command_running.h"
#include "common/command_platform.h"
#include "common/family.h"
#include "common/release.h"
#include "findings/findings.h"
#include "platform/platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"
#include "report/report_driver.h"

namespace vorlix::app {

// What the window hands its commands to; the window itself only gathers input and shows text.
struct MainFormServices {
  platform::Platform& platform;
  report::ReportDriver& driver;
  std::function<void()> storeDriveMap;
  // The conversion report to show, or nullopt when the window's text stays as it is.
  std::function<std::optional<std::string>(const std::string& program)> convertToUNC;
  // What `platform` is made of, when it can tell what a call waits for and stop a command; null
  // when it cannot.
  CommandPlatform* commands;
};

enum class Control {
  ComboBox1,
  ComboBox2,
  CreateBtn,
  SaveAsBtn,
  Memo1,
  SaveDriveMapBtn,
  UNCBtn,
  CloseBtn,
  Bevel1,
  FindingsBtn,
  VerdictText,
};
inline constexpr std::size_t kControlCount = 11;

// The caption: the family's title and the release, joined once at compile time.
inline constexpr char kReleaseSuffix[] = " - " VORLIX_PRODUCT_VERSION;
inline constexpr auto kFormCaptionText = [] {
  std::array<char, sizeof family::kTitle + sizeof kReleaseSuffix - 1> text{};
  std::size_t at = 0;
  for (const char c : family::kTitle) {
    if (c) text[at++] = c;
  }
  for (const char c : kReleaseSuffix) text[at++] = c;
  return text;
}();
inline constexpr const char* kFormCaption = kFormCaptionText.data();
inline constexpr char kWelcomePrompt[] = "Select a program and click 'Create'";
inline constexpr char kDefaultReportName[] = "Vorlix Report.txt";

// One thread for every command of a window, started with the window: a thread of its own for
// each command would pay for its start and leave the system's per-thread data behind each time.
class CommandWorker {
 public:
  CommandWorker();
  ~CommandWorker();
  CommandWorker(const CommandWorker&) = delete;
  CommandWorker& operator=(const CommandWorker&) = delete;

  // Runs the job on the thread and then posts `message` to the window; the caller starts one job
  // at a time.
  void Start(std::function<void()> job, HWND window, UINT message);
  // Returns once the job has ended (what it wrote is then visible to the caller).
  void Wait();
  // As Wait, for a while at most; true when the job has ended.
  bool WaitFor(std::chrono::milliseconds most);
  // Cancels the file call the thread is waiting in, where the system can.
  void CancelWaitingCall();

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> job_;
  HWND window_ = nullptr;
  UINT message_ = 0;
  bool stopping_ = false;
  platform::win32::UniqueFile self_;  // the thread's own handle
  std::thread thread_;
};

// The main window. Creates itself hidden; Show() runs FormShow and makes it visible. Made on a
// thread that has joined a COM apartment, for the names it gives assistive technology.
class TForm1 {
 public:
  TForm1(HINSTANCE instance, MainFormServices services);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  void Show(int showCommand);
  HWND handle() const { return window_; }
  HWND control(Control which) const { return controls_[static_cast<std::size_t>(which)]; }
  // Handles Tab, arrows and mnemonics as a dialog would; true when the message was used.
  bool PreTranslateMessage(MSG& message);
  std::string MemoText() const;
  // True while a command runs on its worker; its end arrives as a message to the window.
  bool Busy() const { return busy_; }
  // True when the window was closed during a command that did not end in time: its worker
  // waits in a call the system could not cancel, and only the end of the process stops it.
  bool LeftToTheSystem() const { return busy_ && !window_; }

 private:
  // What a command leaves for the window: the text to show (nullopt keeps the memo's) and, for
  // a report, its likely causes and verdict.
  struct Outcome {
    std::optional<std::string> text;
    std::vector<findings::Finding> findings;
    std::string verdict;  // empty: no verdict
  };
  using Command = std::function<Outcome()>;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void ApplyFontSubstitution();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void LayOut(int clientWidth, int clientHeight);
  void OnCommand(int id, int code);
  bool HandleMnemonic(char key);
  // Runs a command; an error that escapes it is shown and the window stays usable.
  void Run(void (TForm1::*command)());

  void FormShow();
  void ComboBox1Click();
  void CreateBtnClick();
  void SaveAsBtnClick();
  void CloseBtnClick();
  void SaveDriveMapBtnClick();
  void UNCBtnClick();
  void FindingsBtnClick();
  void ShowVerdict(std::string verdict, std::vector<findings::Finding> found);

  // Runs a command off the user-interface thread; the window keeps answering, and ignores every
  // button but "&Close" until the command has ended.
  void StartCommand(Command command);
  // Once a command has lasted a moment: the controls that could start another one are disabled,
  // so that a long command shows that it runs. A short one never makes them flicker, and its
  // end costs no repaint of them.
  void LockControls();
  void FinishCommand();
  void ShowProgress();
  void RequestClose();
  // After a close, every 20 ms until the worker has ended: cancels its waiting call again (a
  // cancel that lands just before the worker enters a call finds nothing to cancel), and once the
  // clean-up time is over, lets the window go.
  void CancelUntilEnded();

  void SetMemoText(const std::string& text);
  void Enable(Control which, bool enabled);
  std::string SelectedProgram() const;

  HINSTANCE instance_;
  MainFormServices services_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;  // of the monitor the window is on
  std::array<HWND, kControlCount> controls_{};
  AccessibleNames accessibleNames_;
  platform::win32::UniqueGdiObject windowFont_;
  platform::win32::UniqueGdiObject memoFont_;

  // The running command. The worker writes its outcome and then posts its end; the window reads
  // the outcome only after waiting for the job.
  bool busy_ = false;
  std::optional<Outcome> outcome_;
  // The findings of the report the memo shows.
  std::vector<findings::Finding> findings_;
  std::optional<std::string> failure_;
  bool locked_ = false;  // the controls are disabled by LockControls
  std::array<bool, kControlCount> enabledBefore_{};
  HWND focusBefore_ = nullptr;
  std::string memoBefore_;
  std::string progressShown_;
  bool closing_ = false;
  std::chrono::steady_clock::time_point closedAt_;
  CommandWorker worker_;  // last: its thread ends before what its jobs use goes
};

}  // namespace vorlix::app
