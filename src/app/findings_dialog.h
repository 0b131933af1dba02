#pragma once

#include <windows.h>

#include <string>

namespace vorlix::app {

inline constexpr char kFindingsCaption[] = "Findings";
inline constexpr int kFindingsTextId = 100;

// A modal dialog owned by `owner` that shows the text in a read-only box, where it can be
// selected and copied, in the given font; Escape, Enter and "Close" close it.
void ShowFindingsDialog(HINSTANCE instance, HWND owner, const std::string& text, HFONT font);

}  // namespace vorlix::app
