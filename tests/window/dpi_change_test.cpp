// The window moved to a monitor of another density: the system sends WM_DPICHANGED with the new
// density and a suggested rectangle (Wine, with one density for every monitor, never does; the
// test sends it as the system would).

#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "support/form_on_fakes.h"

namespace vorlix::app {
namespace {

void ChangeDpi(HWND window, UINT dpi, RECT suggested) {
  ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

RECT Frame(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

// Where a control stands, told by the edges the layout keeps: a left- or top-anchored control
// by its distance from the client area's left or top, the others by their distance from its
// right or bottom.
struct Stands {
  Control control;
  int fromLeft;  // or, negative, from the right
  int fromTop;   // or, negative, from the bottom
  int width;
  int height;
};

class Moved : public testing::FormOnFakes {
 protected:
  void ExpectStands(const Stands& row) {
    RECT client{};
    ::GetClientRect(form->handle(), &client);
    const RECT r = Place(row.control);
    const int horizontal = row.fromLeft >= 0 ? r.left : r.left + r.right - client.right;
    const int vertical = row.fromTop >= 0 ? r.top : r.top + r.bottom - client.bottom;
    EXPECT_EQ(horizontal, row.fromLeft) << static_cast<int>(row.control);
    EXPECT_EQ(vertical, row.fromTop) << static_cast<int>(row.control);
    EXPECT_EQ(r.right, row.width) << static_cast<int>(row.control);
    EXPECT_EQ(r.bottom, row.height) << static_cast<int>(row.control);
  }
};

TEST_F(Moved, ToADenserMonitorTheWindowTakesTheSuggestedRectangleAndScales) {
  const RECT suggested{40, 30, 1440, 1180};
  ChangeDpi(form->handle(), 144, suggested);
  const RECT frame = Frame(form->handle());
  EXPECT_TRUE(::EqualRect(&frame, &suggested));
  // The designed places at 150 per cent, the anchored edges kept at their scaled distances.
  const Stands table[] = {
      {Control::ComboBox1, 11, 21, 327, -1},  {Control::CreateBtn, 620, 21, 148, 42},
      {Control::SaveAsBtn, -16, 21, 149, 42}, {Control::SaveDriveMapBtn, 11, -18, 190, 42},
      {Control::UNCBtn, 221, -18, 190, 42},   {Control::FindingsBtn, -172, -18, 143, 42},
      {Control::CloseBtn, -12, -18, 142, 42},
  };
  for (const Stands& row : table) {
    Stands shown = row;
    if (row.height < 0) shown.height = Place(row.control).bottom;  // a list's closed height
    ExpectStands(shown);
  }
  EXPECT_EQ(FontHeight(Control::Memo1), -20);
  EXPECT_EQ(FontHeight(Control::CreateBtn), -16);
  EXPECT_EQ(FontHeight(Control::ComboBox2), -16);
}

TEST_F(Moved, BackAtTheDesignedDensityTheWindowIsAsDesigned) {
  const RECT designed = Frame(form->handle());
  ChangeDpi(form->handle(), 192, {0, 0, 1500, 1100});
  ChangeDpi(form->handle(), 96, designed);
  const RECT frame = Frame(form->handle());
  EXPECT_TRUE(::EqualRect(&frame, &designed));
  const Stands table[] = {
      {Control::CreateBtn, 413, 14, 99, 28},    {Control::SaveAsBtn, 794, 14, 99, 28},
      {Control::Memo1, 7, 49, 889, 618},        {Control::SaveDriveMapBtn, 7, 702, 127, 28},
      {Control::UNCBtn, 147, 702, 127, 28},     {Control::VerdictText, 287, 709, 400, 16},
      {Control::FindingsBtn, 694, 702, 95, 28}, {Control::CloseBtn, 801, 702, 95, 28},
  };
  for (const Stands& row : table) ExpectStands(row);
  EXPECT_EQ(FontHeight(Control::Memo1), -13);
  EXPECT_EQ(FontHeight(Control::CreateBtn), -11);
}

}  // namespace
}  // namespace vorlix::app
