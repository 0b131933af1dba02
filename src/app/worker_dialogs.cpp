#include "app/worker_dialogs.h"

#include <utility>

#include "platform/win32/last_error.h"

namespace vorlix::app {

namespace {

constexpr char kClass[] = "VorlixDialogs";
constexpr UINT kShow = WM_APP + 1;

struct Request {
  const std::function<void()>* show;
  const std::function<bool()>* stopping;
};

// The stop is asked here, on the window's thread, where the window sets it: a close can never
// come between the question and the dialog.
void Serve(Request& request) {
  if (*request.stopping && (*request.stopping)()) return;
  (*request.show)();
}

LRESULT CALLBACK MessagesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kShow) return ::DefWindowProcA(window, message, wParam, lParam);
  Serve(*reinterpret_cast<Request*>(lParam));
  return 0;
}

HWND MakeMessageWindow() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  if (!::GetClassInfoExA(instance, kClass, &windowClass)) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MessagesProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClass;
    ::RegisterClassExA(&windowClass);
  }
  HWND window =
      ::CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!window) platform::win32::ThrowLastError("Cannot create the dialogs' message window");
  return window;
}

}  // namespace

WorkerDialogs::WorkerDialogs(platform::Dialogs& shown, std::function<bool()> stopping)
    : shown_(shown),
      stopping_(std::move(stopping)),
      thread_(::GetCurrentThreadId()),
      messages_(MakeMessageWindow()) {}

void WorkerDialogs::OnOwnThread(const std::function<void()>& show) {
  Request request{&show, &stopping_};
  if (::GetCurrentThreadId() == thread_) {
    Serve(request);
  } else {
    ::SendMessageA(messages_.get(), kShow, 0, reinterpret_cast<LPARAM>(&request));
  }
}

bool WorkerDialogs::Confirm(const std::string& text) {
  bool yes = false;
  OnOwnThread([&] { yes = shown_.Confirm(text); });
  return yes;
}

void WorkerDialogs::Inform(const std::string& text) {
  OnOwnThread([&] { shown_.Inform(text); });
}

void WorkerDialogs::Warn(const std::string& text) {
  OnOwnThread([&] { shown_.Warn(text); });
}

void WorkerDialogs::Error(const std::string& text) {
  OnOwnThread([&] { shown_.Error(text); });
}

std::optional<std::string> WorkerDialogs::SaveFileName(const std::string& suggested) {
  std::optional<std::string> chosen;
  OnOwnThread([&] { chosen = shown_.SaveFileName(suggested); });
  return chosen;
}

}  // namespace vorlix::app
