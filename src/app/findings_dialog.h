#pragma once

#include <windows.h>

#include <string>

namespace vorlix::app {

inline constexpr char kFindingsCaption[] = "Findings";
inline constexpr int kFindingsTextId = 100;

// The owner's fonts for the text and the button, and the density they were made for.
struct FindingsFonts {
  HFONT text;
  HFONT button;
  UINT dpi;
};

// A modal dialog owned by `owner` that shows the text in a read-only box, where it can be
// selected and copied, in the given fonts, scaled to the density of the dialog's monitor;
// Escape, Enter and "Close" close it.
void ShowFindingsDialog(HINSTANCE instance, HWND owner, const std::string& text,
                        const FindingsFonts& fonts);

}  // namespace vorlix::app
