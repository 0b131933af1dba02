#include "console/win32/progress_line.h"

#include <windows.h>

#include <chrono>

namespace vorlix::console::win32 {

namespace {

constexpr auto kPeriod = std::chrono::milliseconds(250);

}  // namespace

ProgressLine::ProgressLine(const CommandSession& session) : session_(session) {
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (error == INVALID_HANDLE_VALUE || !error || !::GetConsoleMode(error, &mode)) return;
  console_ = error;
  watcher_ = std::thread([this] { Watch(); });
}

ProgressLine::~ProgressLine() {
  if (!watcher_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_all();
  watcher_.join();
  Show({});
}

void ProgressLine::Watch() {
  std::unique_lock lock(mutex_);
  while (!stop_.wait_for(lock, kPeriod, [this] { return stopping_; })) {
    const auto call = session_.Current();
    Show(call ? WaitingText(*call, std::chrono::steady_clock::now()) : std::string());
  }
}

// The text over what was shown before, the rest of the old line blanked; nothing when the line
// is empty and stays so.
void ProgressLine::Show(const std::string& text) {
  if (text.empty() && shown_ == 0) return;
  std::string line = "\r" + text;
  if (text.size() < shown_) line.append(shown_ - text.size(), ' ').append("\r" + text);
  DWORD written = 0;
  ::WriteConsoleA(console_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  shown_ = text.size();
}

}  // namespace vorlix::console::win32
