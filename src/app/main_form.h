#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "common/family.h"
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
};
inline constexpr std::size_t kControlCount = 9;

// The caption: the family's title and the release, joined once at compile time.
inline constexpr char kReleaseSuffix[] = " - Release 1.32";
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

// The main window. Creates itself hidden; Show() runs FormShow and makes it visible.
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

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void ApplyFontSubstitution();
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

  void SetMemoText(const std::string& text);
  void Enable(Control which, bool enabled);
  std::string SelectedProgram() const;

  HINSTANCE instance_;
  MainFormServices services_;
  HWND window_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  platform::win32::UniqueGdiObject windowFont_;
  platform::win32::UniqueGdiObject memoFont_;
};

}  // namespace vorlix::app
