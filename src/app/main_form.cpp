#include "app/main_form.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include "app/dpi.h"
#include "app/findings_dialog.h"
#include "common/family.h"
#include "common/files.h"
#include "common/short_string.h"
#include "common/text.h"
#include "platform/errors.h"
#include "report/report_file.h"
#include "report/temp_report.h"

namespace vorlix::app {

namespace {

constexpr char kWindowClass[] = "TForm1";
constexpr int kClientWidth = 904;
constexpr int kClientHeight = 742;
constexpr int kLeft = 571;
constexpr int kTop = 96;
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr UINT kCommandDone = WM_APP + 1;
constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressPeriodMs = 250;
constexpr UINT_PTR kCancelTimer = 2;
constexpr UINT kCancelPeriodMs = 20;
// How long a closed window waits for its command to clean up before it leaves the call in
// progress to the system (see LeftToTheSystem).
constexpr auto kCleanUpTime = std::chrono::seconds(1);
// Disabled once a command has lasted a moment: each could start another command or change what
// it reads.
constexpr Control kCommandControls[] = {
    Control::ComboBox1,       Control::ComboBox2, Control::CreateBtn,  Control::SaveAsBtn,
    Control::SaveDriveMapBtn, Control::UNCBtn,    Control::FindingsBtn};

enum Anchor : unsigned { kLeftEdge = 1, kTopEdge = 2, kRightEdge = 4, kBottomEdge = 8 };

struct ControlLayout {
  Control id;
  const char* windowClass;
  const char* text;
  RECT place;  // left, top, width, height as designed, at kDesignDpi
  DWORD style;
  unsigned anchors;
  // For assistive technology, where the control's own text does not say what it is for.
  const wchar_t* accessibleName = nullptr;
};

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDropDownList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kMemo = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                        ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                        ES_NOHIDESEL;

// In the order the keyboard focus moves through them.
constexpr ControlLayout kControls[kControlCount] = {
    {Control::ComboBox1,
     "COMBOBOX",
     "",
     {7, 14, 218, 24},
     kDropDownList,
     kLeftEdge | kTopEdge,
     L"Program"},
    {Control::ComboBox2,
     "COMBOBOX",
     "",
     {238, 14, 162, 24},
     kDropDownList,
     kLeftEdge | kTopEdge,
     L"Report level"},
    {Control::CreateBtn, "BUTTON", "&Create", {413, 14, 99, 28}, kButton, kLeftEdge | kTopEdge},
    {Control::SaveAsBtn,
     "BUTTON",
     "&Save as...",
     {794, 14, 99, 28},
     kButton,
     kTopEdge | kRightEdge},
    {Control::Memo1,
     "EDIT",
     "Memo1",
     {7, 49, 889, 618},
     kMemo,
     kLeftEdge | kTopEdge | kRightEdge | kBottomEdge},
    {Control::SaveDriveMapBtn,
     "BUTTON",
     "&Store drive map...",
     {7, 702, 127, 28},
     kButton,
     kLeftEdge | kBottomEdge},
    {Control::UNCBtn,
     "BUTTON",
     "&Convert to UNC...",
     {147, 702, 127, 28},
     kButton,
     kLeftEdge | kBottomEdge},
    // The verdict of the last report, in the row's free space; cut with an ellipsis when the row
    // is too narrow, while its text stays whole.
    {Control::VerdictText,
     "STATIC",
     "",
     {287, 709, 400, 16},
     WS_CHILD | WS_VISIBLE | SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX,
     kLeftEdge | kRightEdge | kBottomEdge},
    {Control::FindingsBtn,
     "BUTTON",
     "&Findings...",
     {694, 702, 95, 28},
     kButton,
     kRightEdge | kBottomEdge},
    {Control::CloseBtn, "BUTTON", "&Close", {801, 702, 95, 28}, kButton, kRightEdge | kBottomEdge},
    // The line that separates the text box from the bottom row: the bottom edge of an 889 x 8
    // frame at 7, 680.
    {Control::Bevel1,
     "STATIC",
     "",
     {7, 686, 889, 2},
     WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ,
     kLeftEdge | kRightEdge | kBottomEdge},
};

constexpr const char* kLevels[] = {"Normal", "Full"};
constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
// Character heights at kDesignDpi: the window's 8 points, and the memo's Courier New in pixels.
constexpr int kWindowFontPoints = 8;
constexpr int kMemoFontHeight = 13;

int ControlId(Control which) { return kFirstControlId + static_cast<int>(which); }

char MnemonicOf(const char* text) {
  for (const char* p = text; *p; ++p) {
    if (*p == '&' && p[1] != '\0' && p[1] != '&') {
      return AsciiUpper(p[1]);
    }
  }
  return '\0';
}

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool ScreenFontInstalled(const char* face) {
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  const platform::win32::ScreenDc screen;
  ::EnumFontFamiliesExA(screen.get(), &query, FontFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// pitchAndFamily decides the face the system substitutes when the named one is missing.
HFONT MakeFont(const char* face, int height, BYTE pitchAndFamily) {
  return ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily,
                       face);
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  if (::GetClassInfoExA(instance, kWindowClass, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hIconSm = windowClass.hIcon;
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExA(&windowClass);
}

}  // namespace

TForm1::TForm1(HINSTANCE instance, MainFormServices services)
    : instance_(instance), services_(std::move(services)) {
  RegisterWindowClass(instance_, &TForm1::WindowProc);
  const SIZE designed = FrameSize(kClientWidth, kClientHeight, kFormStyle, kFormExStyle, dpi_);
  window_ = ::CreateWindowExA(kFormExStyle, kWindowClass, kFormCaption, kFormStyle, kLeft, kTop,
                              designed.cx, designed.cy, nullptr, nullptr, instance_, this);
  if (!window_) platform::win32::ThrowLastError("Cannot create the main window");
  // The window opens at its designed place, on the monitor there, at that monitor's density.
  dpi_ = WindowDpi(window_);
  const SIZE frame = FrameSize(Scaled(kClientWidth, dpi_), Scaled(kClientHeight, dpi_), kFormStyle,
                               kFormExStyle, dpi_);
  const RECT place = InsideWorkArea({kLeft, kTop, kLeft + frame.cx, kTop + frame.cy});
  ::SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls();
  ApplyFontSubstitution();
  RECT client{};
  ::GetClientRect(window_, &client);
  LayOut(client.right, client.bottom);
}

CommandWorker::CommandWorker() : thread_([this] { Loop(); }) {}

CommandWorker::~CommandWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void CommandWorker::Start(std::function<void()> job, HWND window, UINT message) {
  {
    const std::lock_guard lock(mutex_);
    job_ = std::move(job);
    window_ = window;
    message_ = message;
  }
  changed_.notify_all();
}

void CommandWorker::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !job_; });
}

bool CommandWorker::WaitFor(std::chrono::milliseconds most) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, most, [this] { return !job_; });
}

void CommandWorker::CancelWaitingCall() {
  const std::lock_guard lock(mutex_);
  if (self_.valid()) ::CancelSynchronousIo(self_.get());
}

void CommandWorker::Loop() {
  std::unique_lock lock(mutex_);
  self_.reset(::OpenThread(THREAD_TERMINATE, FALSE, ::GetCurrentThreadId()));
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || job_; });
    if (!job_) return;  // stopping, with nothing left to do
    const std::function<void()> job = job_;
    lock.unlock();
    job();
    lock.lock();
    job_ = nullptr;
    changed_.notify_all();
    // Only now: the window that waits for the job on this message never waits for the thread.
    ::PostMessageA(window_, message_, 0, 0);
  }
}

TForm1::~TForm1() {
  if (busy_) {
    if (services_.commands) services_.commands->session().Cancel();
    for (;;) {
      worker_.CancelWaitingCall();
      if (worker_.WaitFor(std::chrono::milliseconds(kCancelPeriodMs))) break;
      // A dialog the worker sends this thread is answered (No, once cancelled) meanwhile.
      MSG message;
      ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
  if (window_) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void TForm1::CreateControls() {
  for (const ControlLayout& item : kControls) {
    const RECT& r = item.place;
    HWND control = ::CreateWindowExA(
        std::string_view(item.windowClass) == "EDIT" ? WS_EX_CLIENTEDGE : 0, item.windowClass,
        item.text, item.style, r.left, r.top, r.right, r.bottom, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(item.id))), instance_, nullptr);
    if (!control) platform::win32::ThrowLastError("Cannot create a control");
    controls_[static_cast<std::size_t>(item.id)] = control;
    if (item.accessibleName) accessibleNames_.Name(control, item.accessibleName);
  }
  for (const std::string_view program : family::kPrograms) {
    const std::string item(program);
    ::SendMessageA(control(Control::ComboBox1), CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(item.c_str()));
  }
  for (const char* level : kLevels) {
    ::SendMessageA(control(Control::ComboBox2), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(level));
  }
  // A report of any length must show whole; the default limit is about 30,000 characters.
  ::SendMessageA(control(Control::Memo1), EM_SETLIMITTEXT, 0, 0);
}

// At the window's density; a change of density replaces both fonts, each control taking its new
// one before the old one goes.
void TForm1::ApplyFontSubstitution() {
  const char* face =
      ScreenFontInstalled("Microsoft Sans Serif") ? "Microsoft Sans Serif" : "MS Sans Serif";
  platform::win32::UniqueGdiObject windowFont(MakeFont(
      face, -::MulDiv(kWindowFontPoints, static_cast<int>(dpi_), 72), DEFAULT_PITCH | FF_DONTCARE));
  // The listing's columns line up only in a monospaced face, with or without Courier New.
  platform::win32::UniqueGdiObject memoFont(
      MakeFont("Courier New", -Scaled(kMemoFontHeight, dpi_), FIXED_PITCH | FF_MODERN));
  const BOOL redraw = windowFont_.valid();
  ::SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), FALSE);
  for (const ControlLayout& item : kControls) {
    HGDIOBJ font = item.id == Control::Memo1 ? memoFont.get() : windowFont.get();
    ::SendMessageA(control(item.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  }
  windowFont_ = std::move(windowFont);
  memoFont_ = std::move(memoFont);
}

// The window moved to a monitor of another density: it takes the size and place the system
// suggests, and its fonts and layout follow.
void TForm1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  ApplyFontSubstitution();
  ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  ::GetClientRect(window_, &client);
  LayOut(client.right, client.bottom);
}

// The designed places at the window's density; the anchored edges follow the client area's
// difference from the designed one.
void TForm1::LayOut(int clientWidth, int clientHeight) {
  const int dx = clientWidth - Scaled(kClientWidth, dpi_);
  const int dy = clientHeight - Scaled(kClientHeight, dpi_);
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(kControlCount));
  for (const ControlLayout& item : kControls) {
    const RECT place = ScaledPlace(item.place, dpi_);
    int left = place.left, top = place.top;
    int width = place.right, height = place.bottom;
    if (item.anchors & kRightEdge) {
      if (item.anchors & kLeftEdge)
        width += dx;
      else
        left += dx;
    }
    if (item.anchors & kBottomEdge) {
      if (item.anchors & kTopEdge)
        height += dy;
      else
        top += dy;
    }
    if (batch) {
      batch = ::DeferWindowPos(batch, control(item.id), nullptr, left, top, std::max(width, 0),
                               std::max(height, 0), SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (batch) ::EndDeferWindowPos(batch);
}

void TForm1::Show(int showCommand) {
  Run(&TForm1::FormShow);
  ::ShowWindow(window_, showCommand);
  ::SetFocus(control(Control::ComboBox1));
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TForm1*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (form && form->window_ == window) return form->HandleMessage(message, wParam, lParam);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) LayOut(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kProgressTimer) {
        LockControls();
        ShowProgress();
      }
      if (wParam == kCancelTimer) CancelUntilEnded();
      return 0;
    case kCommandDone:
      FinishCommand();
      return 0;
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_DESTROY:
      accessibleNames_.Clear();
      ::RemovePropA(window_, kCommandRunningProperty);  // closed around a command
      window_ = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window_, message, wParam, lParam);
  }
}

void TForm1::OnCommand(int id, int code) {
  const auto which = static_cast<Control>(id - kFirstControlId);
  if (which == Control::ComboBox1 || which == Control::ComboBox2) {
    // Before the lock a choice still sets the buttons it governs, and the lock keeps their state.
    if (code == CBN_SELCHANGE && !locked_) Run(&TForm1::ComboBox1Click);
    return;
  }
  // A disabled button never acts, whatever sends the click; during a command only "&Close" does.
  if (code != BN_CLICKED || !::IsWindowEnabled(control(which))) return;
  if (Busy() && which != Control::CloseBtn) return;
  switch (which) {
    case Control::CreateBtn:
      Run(&TForm1::CreateBtnClick);
      break;
    case Control::SaveAsBtn:
      Run(&TForm1::SaveAsBtnClick);
      break;
    case Control::SaveDriveMapBtn:
      Run(&TForm1::SaveDriveMapBtnClick);
      break;
    case Control::UNCBtn:
      Run(&TForm1::UNCBtnClick);
      break;
    case Control::CloseBtn:
      Run(&TForm1::CloseBtnClick);
      break;
    case Control::FindingsBtn:
      Run(&TForm1::FindingsBtnClick);
      break;
    default:
      break;
  }
}

void TForm1::Run(void (TForm1::*command)()) {
  try {
    (this->*command)();
  } catch (const std::exception& error) {
    services_.platform.dialogs.Error(Short(error.what()));
  }
}

bool TForm1::PreTranslateMessage(MSG& message) {
  if (!window_ || (message.hwnd != window_ && !::IsChild(window_, message.hwnd))) return false;
  if (message.message == WM_SYSCHAR && HandleMnemonic(static_cast<char>(message.wParam))) {
    return true;
  }
  return ::IsDialogMessageA(window_, &message) != 0;
}

// Several buttons share a letter ("&Create", "&Convert to UNC...", "&Close"). The first one in
// focus order is clicked when it is enabled; otherwise the focus moves to the next enabled one
// with that letter and nothing is clicked, so a disabled command never falls through to "&Close".
bool TForm1::HandleMnemonic(char key) {
  const char wanted = AsciiUpper(key);
  bool first = true;
  for (const ControlLayout& item : kControls) {
    if (MnemonicOf(item.text) != wanted) continue;
    HWND button = control(item.id);
    if (::IsWindowEnabled(button) && ::IsWindowVisible(button)) {
      ::SetFocus(button);
      if (first) ::SendMessageA(button, BM_CLICK, 0, 0);
      return true;
    }
    first = false;
  }
  return false;
}

void TForm1::Enable(Control which, bool enabled) { ::EnableWindow(control(which), enabled); }

std::string TForm1::SelectedProgram() const {
  const auto index = ::SendMessageA(control(Control::ComboBox1), CB_GETCURSEL, 0, 0);
  if (index < 0) return {};
  const auto length = ::SendMessageA(control(Control::ComboBox1), CB_GETLBTEXTLEN, index, 0);
  std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
  ::SendMessageA(control(Control::ComboBox1), CB_GETLBTEXT, index,
                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));
  return Short(text);
}

std::string TForm1::MemoText() const {
  HWND memo = control(Control::Memo1);
  const int length = ::GetWindowTextLengthA(memo);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(memo, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void TForm1::SetMemoText(const std::string& text) {
  // The whole text at once: fed line by line, a long report would take minutes.
  ::SetWindowTextA(control(Control::Memo1), text.c_str());
}

void TForm1::FormShow() {
  ::SendMessageA(control(Control::ComboBox1), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SendMessageA(control(Control::ComboBox2), CB_SETCURSEL, 0, 0);
  Enable(Control::CreateBtn, false);
  Enable(Control::SaveAsBtn, false);
  Enable(Control::UNCBtn, false);
  ShowVerdict({}, {});
  platform::Platform& platform = services_.platform;
  SetMemoText(report::WriteThroughTempFile(platform.files, [&](report::ReportFile& file) {
    report::WriteHeading(file, platform.clock);
    file.WriteLine("");
    file.WriteLine(kWelcomePrompt);
  }));
}

void TForm1::ComboBox1Click() {
  const bool chosen = ::SendMessageA(control(Control::ComboBox1), CB_GETCURSEL, 0, 0) >= 0;
  Enable(Control::CreateBtn, chosen);
  Enable(Control::UNCBtn, chosen);
}

// The report runs on a worker, so that a server that does not answer never freezes the window.
void TForm1::CreateBtnClick() {
  const std::string program = SelectedProgram();
  const int level =
      static_cast<int>(::SendMessageA(control(Control::ComboBox2), CB_GETCURSEL, 0, 0)) + 1;
  StartCommand([this, program, level] {
    report::WrittenReport written =
        report::WriteReportThroughTempFile(services_.platform.files, [&](report::ReportFile& file) {
          if (services_.commands) {
            file.TellHeadings([this](std::string_view heading) {
              services_.commands->session().EnterSection(heading);
            });
          }
          services_.driver.Run(file, program, level);
        });
    const auto lines = findings::CheckedLines(written.text, written.lines);
    Outcome outcome{std::move(written.text), findings::FindingsOf(lines), {}};
    outcome.verdict = findings::VerdictLine(outcome.findings, lines);
    return outcome;
  });
}

void TForm1::SaveAsBtnClick() {
  const auto target = services_.platform.dialogs.SaveFileName(kDefaultReportName);
  if (!target) return;
  SaveFileSafely(services_.platform.files, *target, AsCrLfLines(MemoText()));
}

void TForm1::CloseBtnClick() { RequestClose(); }

void TForm1::SaveDriveMapBtnClick() {
  if (!services_.storeDriveMap) return;
  StartCommand([this] {
    services_.storeDriveMap();
    return Outcome{};
  });
}

void TForm1::UNCBtnClick() {
  if (!services_.convertToUNC) return;
  const std::string program = SelectedProgram();
  StartCommand([this, program] { return Outcome{services_.convertToUNC(program), {}, {}}; });
}

void TForm1::FindingsBtnClick() {
  if (findings_.empty()) return;
  const HWND focus = ::GetFocus();
  ShowFindingsDialog(
      instance_, window_, findings::FindingsBlock(findings_, "\r\n"),
      {static_cast<HFONT>(memoFont_.get()), static_cast<HFONT>(windowFont_.get()), dpi_});
  if (focus && ::IsWindow(focus)) ::SetFocus(focus);  // back where the dialog was opened from
}

// A repair command leaves no verdict: the text it shows is no report.
void TForm1::ShowVerdict(std::string verdict, std::vector<findings::Finding> found) {
  findings_ = std::move(found);
  ::SetWindowTextA(control(Control::VerdictText), verdict.c_str());
  Enable(Control::FindingsBtn, !findings_.empty());
}

void TForm1::StartCommand(Command command) {
  if (Busy()) return;
  memoBefore_.clear();
  progressShown_.clear();
  outcome_.reset();
  failure_.reset();
  ::SetTimer(window_, kProgressTimer, kProgressPeriodMs, nullptr);
  if (services_.commands) services_.commands->StartCommand();
  busy_ = true;
  ::SetPropA(window_, kCommandRunningProperty, reinterpret_cast<HANDLE>(1));
  worker_.Start(
      [this, command = std::move(command)] {
        try {
          outcome_ = command();
        } catch (const Cancelled&) {
          // The window is closing; there is no one left to tell.
        } catch (const std::exception& error) {
          failure_ = Short(error.what());
        }
      },
      window_, kCommandDone);
}

void TForm1::LockControls() {
  if (!busy_ || locked_) return;
  locked_ = true;
  focusBefore_ = ::GetFocus();
  for (const Control which : kCommandControls) {
    enabledBefore_[static_cast<std::size_t>(which)] = ::IsWindowEnabled(control(which)) != 0;
    Enable(which, false);
  }
  // A focus left on a disabled control would take the keyboard away from the window.
  if (focusBefore_ && !::IsWindowEnabled(focusBefore_)) ::SetFocus(control(Control::Memo1));
}

void TForm1::FinishCommand() {
  if (!busy_) return;
  worker_.Wait();
  busy_ = false;
  ::KillTimer(window_, kProgressTimer);
  ::KillTimer(window_, kCancelTimer);
  if (closing_) {
    ::DestroyWindow(window_);
    return;
  }
  if (locked_) {
    for (const Control which : kCommandControls) {
      Enable(which, enabledBefore_[static_cast<std::size_t>(which)]);
    }
  }
  if (outcome_ && outcome_->text) {
    SetMemoText(*outcome_->text);
    Enable(Control::SaveAsBtn, true);
  } else if (!progressShown_.empty()) {
    SetMemoText(memoBefore_);  // the progress goes; the text shown before comes back
  }
  if (outcome_) ShowVerdict(std::move(outcome_->verdict), std::move(outcome_->findings));
  if (locked_ && focusBefore_ && ::IsWindowEnabled(focusBefore_)) ::SetFocus(focusBefore_);
  locked_ = false;
  // Last: whoever watches it finds the window showing all the command left.
  ::RemovePropA(window_, kCommandRunningProperty);
  if (failure_) services_.platform.dialogs.Error(*failure_);
}

void TForm1::ShowProgress() {
  if (!services_.commands) return;
  const auto call = services_.commands->session().Current();
  if (!call) return;
  const std::string text = WaitingText(*call, std::chrono::steady_clock::now());
  if (text.empty() || text == progressShown_) return;
  if (progressShown_.empty()) memoBefore_ = MemoText();
  progressShown_ = text;
  SetMemoText(text);
}

// Closing during a command stops it after the call in progress: the worker's waiting call is
// cancelled where the system can, and the window goes once the worker has cleaned up.
void TForm1::RequestClose() {
  if (!Busy()) {
    ::DestroyWindow(window_);
    return;
  }
  closing_ = true;
  ::ShowWindow(window_, SW_HIDE);
  if (services_.commands) services_.commands->session().Cancel();
  closedAt_ = std::chrono::steady_clock::now();
  ::SetTimer(window_, kCancelTimer, kCancelPeriodMs, nullptr);
  CancelUntilEnded();
}

void TForm1::CancelUntilEnded() {
  worker_.CancelWaitingCall();
  if (Busy() && std::chrono::steady_clock::now() - closedAt_ >= kCleanUpTime) {
    // A call the system cannot cancel (under Wine a file call makes several waits of its
    // server in a row): the window goes, and the program ends around the call.
    ::KillTimer(window_, kCancelTimer);
    ::DestroyWindow(window_);
  }
}

}  // namespace vorlix::app
