#include "app/dpi.h"

#include <algorithm>

#include "platform/win32/handles.h"

namespace vorlix::app {

namespace {

// Both are in user32 from Windows 10 (1607) on; found at run time so that the program still
// starts where they are missing.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

FARPROC User32Function(const char* name) {
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? ::GetProcAddress(user32, name) : nullptr;
}

template <typename Function>
Function Found(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(User32Function(name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
  const auto getDpiForWindow = Found<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  const int system = ::GetDeviceCaps(platform::win32::ScreenDc().get(), LOGPIXELSY);
  return system > 0 ? static_cast<UINT>(system) : kDesignDpi;
}

RECT ScaledPlace(const RECT& designed, UINT dpi) {
  const int left = Scaled(designed.left, dpi);
  const int top = Scaled(designed.top, dpi);
  return {left, top, Scaled(designed.left + designed.right, dpi) - left,
          Scaled(designed.top + designed.bottom, dpi) - top};
}

SIZE FrameSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
  const auto adjustForDpi = Found<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, clientWidth, clientHeight};
  if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, dpi)) {
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT InsideWorkArea(RECT frame) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!::GetMonitorInfoW(::MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return frame;
  }
  const RECT& area = monitor.rcWork;
  const LONG width = std::min(frame.right - frame.left, area.right - area.left);
  const LONG height = std::min(frame.bottom - frame.top, area.bottom - area.top);
  const LONG left = std::clamp(frame.left, area.left, area.right - width);
  const LONG top = std::clamp(frame.top, area.top, area.bottom - height);
  return {left, top, left + width, top + height};
}

}  // namespace vorlix::app
