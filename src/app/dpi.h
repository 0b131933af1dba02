#pragma once

#include <windows.h>

namespace vorlix::app {

// Every size of the window and its dialogs is designed at this density and scaled from it.
inline constexpr UINT kDesignDpi = 96;

// The density of the monitor the window is on: what the system tells a per-monitor aware
// window, or the system's density where it cannot tell one window's (before Windows 10).
UINT WindowDpi(HWND window);

// A length designed at kDesignDpi, at `dpi`, rounded to the nearest pixel.
inline int Scaled(int designed, UINT dpi) {
  return ::MulDiv(designed, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// A rectangle given as left, top, width and height at kDesignDpi, scaled edge by edge so that
// neighbours keep their gaps; the result is again left, top, width and height.
RECT ScaledPlace(const RECT& designed, UINT dpi);

// The window rectangle (frame included) around a client area of the given size at `dpi`.
SIZE FrameSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// The frame moved, and shrunk where it must, so that it lies inside the work area of the monitor
// it is mostly on.
RECT InsideWorkArea(RECT frame);

}  // namespace vorlix::app
