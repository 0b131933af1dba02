// The window and its findings dialog at the display density the prefix is set to (run once per
// density by at-dpi, which sets it): everything read back from the real controls, with their own
// fonts. VORLIX_TEST_DPI names the density set; VORLIX_SCREENSHOT, where the window's picture goes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/findings_dialog.h"
#include "app/main_form.h"
#include "support/form_idle.h"
#include "support/form_on_fakes.h"

namespace vorlix::app {
namespace {

UINT DensitySet() {
  const char* text = std::getenv("VORLIX_TEST_DPI");
  return text ? static_cast<UINT>(std::atoi(text)) : 96;
}

// What the density must make of the designed sizes, one row per density.
struct Expected {
  UINT dpi;
  int memoFontHeight;    // Courier New, 13 pixels at 96 DPI
  int windowFontHeight;  // 8 points
  // The client areas of the window (904 x 742 at 96 DPI) and of the findings dialog (860 x
  // 420); 0 where the scaled size would not fit the screen's 1600 x 1200, and the frame fills
  // the work area that way instead.
  SIZE client;
  SIZE dialogClient;
};
constexpr Expected kDensities[] = {
    {96, -13, -11, {904, 742}, {860, 420}},
    {144, -20, -16, {1356, 1113}, {1290, 630}},
    {192, -26, -21, {0, 0}, {0, 840}},
};

MONITORINFO MonitorOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor;
}

// The client area's size as the row expects it: `expected`, or the work area's along a side
// where the row has 0.
void ExpectClientSize(HWND window, SIZE expected) {
  RECT client{}, frame{};
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &frame);
  const RECT work = MonitorOf(window).rcWork;
  EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
              frame.bottom <= work.bottom);
  if (expected.cx) {
    EXPECT_EQ(client.right, expected.cx);
  } else {
    EXPECT_EQ(frame.right - frame.left, work.right - work.left);
  }
  if (expected.cy) {
    EXPECT_EQ(client.bottom, expected.cy);
  } else {
    EXPECT_EQ(frame.bottom - frame.top, work.bottom - work.top);
  }
}

const Expected* Row(UINT dpi) {
  for (const Expected& row : kDensities) {
    if (row.dpi == dpi) return &row;
  }
  return nullptr;
}

RECT ScreenRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != 0;
}

// The text as a button draws it (a mnemonic's '&' takes no room).
std::string Drawn(HWND control) {
  char text[256] = {};
  ::GetWindowTextA(control, text, sizeof text);
  std::string drawn;
  for (const char* p = text; *p; ++p) {
    if (*p != '&') drawn += *p;
  }
  return drawn;
}

SIZE TextExtent(HWND control, const std::string& text) {
  const HDC dc = ::GetDC(control);
  const HGDIOBJ before =
      ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ::SelectObject(dc, before);
  ::ReleaseDC(control, dc);
  return extent;
}

// A button's text fits when it keeps, on each side, the room of the button's edge and focus
// rectangle (4 pixels at 96 DPI, scaled).
bool TextFits(SIZE text, SIZE button, UINT dpi) {
  const int room = 2 * ::MulDiv(4, static_cast<int>(dpi), 96);
  return text.cx + room <= button.cx && text.cy + room <= button.cy;
}

TEST(TextFits, NeedsTheEdgesRoomOnEachSide) {
  struct Case {
    SIZE text;
    SIZE button;
    UINT dpi;
    bool fits;
  };
  const Case cases[] = {
      {{91, 13}, {99, 28}, 96, true},     // 4 pixels either side
      {{92, 13}, {99, 28}, 96, false},    // one pixel short
      {{20, 20}, {99, 28}, 96, true},     // just as high
      {{20, 21}, {99, 28}, 96, false},    // one pixel too high
      {{136, 13}, {148, 42}, 144, true},  // 6 pixels either side
      {{137, 13}, {148, 42}, 144, false},
      {{127, 16}, {127, 28}, 96, false},  // text to the very edge
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextFits(c.text, c.button, c.dpi), c.fits)
        << c.text.cx << "x" << c.text.cy << " in " << c.button.cx << "x" << c.button.cy;
  }
}

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  const auto handle = reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0));
  if (handle) ::GetObjectA(handle, sizeof font, &font);
  return font;
}

// The character height of the face the system gave for the control's font.
int DrawnCharacterHeight(HWND control) {
  const HDC dc = ::GetDC(control);
  const HGDIOBJ before =
      ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, before);
  ::ReleaseDC(control, dc);
  return metrics.tmHeight - metrics.tmInternalLeading;
}

// The window's picture, as the screen shows it, in a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path) {
  const RECT r = ScreenRect(window);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP picture = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ before = ::SelectObject(memory, picture);
  ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(height);
  constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const BITMAPFILEHEADER header{0x4D42, kHeaders + size, 0, 0, kHeaders};
  bool saved = false;
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
            std::fwrite(bits, size, 1, file) == 1;
    saved = std::fclose(file) == 0 && saved;
  }
  ::SelectObject(memory, before);
  ::DeleteObject(picture);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

class WindowAtDpi : public testing::FormOnFakes {
 protected:
  const UINT dpi = DensitySet();

  void SetUp() override {
    FormOnFakes::SetUp();
    MakeReport();
  }

  RECT ClientOnScreen() {
    RECT client{};
    ::GetClientRect(form->handle(), &client);
    ::MapWindowPoints(form->handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
  }
};

TEST_F(WindowAtDpi, TheSystemRunsAtTheDensitySet) {
  ASSERT_NE(Row(dpi), nullptr) << dpi;
  const HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::GetDeviceCaps(screen, LOGPIXELSY), static_cast<int>(dpi));
  ::ReleaseDC(nullptr, screen);
}

TEST_F(WindowAtDpi, TheClientAreaScalesAndTheWindowStaysOnTheScreen) {
  const Expected* row = Row(dpi);
  ASSERT_NE(row, nullptr);
  ExpectClientSize(form->handle(), row->client);
}

TEST_F(WindowAtDpi, ControlsLieInsideTheClientAreaWithoutOverlapping) {
  const RECT client = ClientOnScreen();
  std::vector<std::pair<int, RECT>> places;
  for (int i = 0; i < static_cast<int>(kControlCount); ++i) {
    const RECT place = ScreenRect(form->control(static_cast<Control>(i)));
    EXPECT_TRUE(Inside(place, client)) << "control " << i;
    EXPECT_GT(place.right - place.left, 0) << "control " << i;
    for (const auto& [other, otherPlace] : places) {
      EXPECT_FALSE(Overlap(place, otherPlace)) << "controls " << other << " and " << i;
    }
    places.emplace_back(i, place);
  }
}

TEST_F(WindowAtDpi, EveryButtonsTextFitsItsButtonInItsOwnFont) {
  for (const Control c : {Control::CreateBtn, Control::SaveAsBtn, Control::SaveDriveMapBtn,
                          Control::UNCBtn, Control::FindingsBtn, Control::CloseBtn}) {
    const HWND button = form->control(c);
    const RECT place = ScreenRect(button);
    const SIZE size{place.right - place.left, place.bottom - place.top};
    const SIZE text = TextExtent(button, Drawn(button));
    EXPECT_TRUE(TextFits(text, size, dpi)) << Drawn(button) << ": " << text.cx << "x" << text.cy
                                           << " in " << size.cx << "x" << size.cy;
  }
}

TEST_F(WindowAtDpi, TheFontsScaleWithTheDensity) {
  const Expected* row = Row(dpi);
  ASSERT_NE(row, nullptr);
  const HWND memo = form->control(Control::Memo1);
  EXPECT_STREQ(FontOf(memo).lfFaceName, "Courier New");
  EXPECT_EQ(FontOf(memo).lfHeight, row->memoFontHeight);
  // The face's hinting may round its height by a pixel, never more.
  EXPECT_NEAR(DrawnCharacterHeight(memo), -row->memoFontHeight, 1);
  for (const Control c : {Control::ComboBox1, Control::CreateBtn, Control::VerdictText}) {
    EXPECT_EQ(FontOf(form->control(c)).lfHeight, row->windowFontHeight) << static_cast<int>(c);
  }
}

TEST_F(WindowAtDpi, TheFindingsDialogScalesItsSizeAndFonts) {
  struct Seen {
    bool open = false;
    RECT client{}, text{}, close{};
    SIZE closeText{};
    LONG textFont = 0;
  };
  static Seen seen;
  seen = {};
  ASSERT_NE(Row(dpi), nullptr);
  const auto look = [](HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = ::FindWindowA(MAKEINTATOM(32770), kFindingsCaption);
    if (!dialog) return;
    ::KillTimer(nullptr, timer);
    seen.open = true;
    ::GetClientRect(dialog, &seen.client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&seen.client), 2);
    const HWND text = ::GetDlgItem(dialog, kFindingsTextId);
    const HWND close = ::GetDlgItem(dialog, IDCANCEL);
    seen.text = ScreenRect(text);
    seen.close = ScreenRect(close);
    seen.closeText = TextExtent(close, Drawn(close));
    seen.textFont = FontOf(text).lfHeight;
    ExpectClientSize(dialog, Row(DensitySet())->dialogClient);
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  ::SetTimer(nullptr, 0, 200, look);
  testing::ClickAndFinish(*form, Control::FindingsBtn);
  ASSERT_TRUE(seen.open);
  const Expected* row = Row(dpi);
  ASSERT_NE(row, nullptr);
  EXPECT_TRUE(Inside(seen.text, seen.client));
  EXPECT_TRUE(Inside(seen.close, seen.client));
  EXPECT_FALSE(Overlap(seen.text, seen.close));
  EXPECT_TRUE(TextFits(seen.closeText,
                       {seen.close.right - seen.close.left, seen.close.bottom - seen.close.top},
                       dpi));
  EXPECT_EQ(seen.textFont, row->memoFontHeight);
}

// The picture is the test's output; what it shows is checked where it must be: the report's
// background inside the text box and the window's own colour between the rows.
TEST_F(WindowAtDpi, TheScreenShowsTheWindowAsLaidOut) {
  ::RedrawWindow(form->handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  testing::HandlePending(*form);
  ::Sleep(300);  // the X server draws what the window painted
  const RECT memo = ScreenRect(form->control(Control::Memo1));
  const RECT createBtn = ScreenRect(form->control(Control::CreateBtn));
  const HDC screen = ::GetDC(nullptr);
  const COLORREF insideMemo = ::GetPixel(screen, memo.right - 40, memo.bottom - 40);
  const COLORREF betweenRows = ::GetPixel(screen, createBtn.right + 4, createBtn.top + 2);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(insideMemo, ::GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(betweenRows, ::GetSysColor(COLOR_BTNFACE));
  if (const char* path = std::getenv("VORLIX_SCREENSHOT")) {
    EXPECT_TRUE(SaveScreenshot(form->handle(), path)) << path;
  }
}

}  // namespace
}  // namespace vorlix::app
