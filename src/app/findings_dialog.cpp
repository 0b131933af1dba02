#include "app/findings_dialog.h"

#include <string_view>
#include <vector>

namespace vorlix::app {

namespace {

constexpr int kClientWidth = 860;
constexpr int kClientHeight = 420;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 95;
constexpr int kButtonHeight = 28;

struct Content {
  const std::string* text;
  HFONT font;
  HINSTANCE instance;
};

void AppendText(std::vector<WORD>& words, std::string_view text) {
  for (char c : text) words.push_back(static_cast<unsigned char>(c));
  words.push_back(0);
}

INT_PTR CALLBACK FindingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* content = reinterpret_cast<const Content*>(lParam);
      RECT frame{0, 0, kClientWidth, kClientHeight};
      ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)),
                           FALSE, static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
      RECT owner{};
      ::GetWindowRect(::GetWindow(dialog, GW_OWNER), &owner);
      const int width = frame.right - frame.left;
      const int height = frame.bottom - frame.top;
      ::MoveWindow(dialog, owner.left + (owner.right - owner.left - width) / 2,
                   owner.top + (owner.bottom - owner.top - height) / 2, width, height, FALSE);
      const HWND text = ::CreateWindowExA(
          WS_EX_CLIENTEDGE, "EDIT", content->text->c_str(),
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
              ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
          kMargin, kMargin, kClientWidth - 2 * kMargin, kClientHeight - 3 * kMargin - kButtonHeight,
          dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFindingsTextId)), content->instance,
          nullptr);
      const HWND close = ::CreateWindowExA(
          0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
          kClientWidth - kMargin - kButtonWidth, kClientHeight - kMargin - kButtonHeight,
          kButtonWidth, kButtonHeight, dialog,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), content->instance, nullptr);
      ::SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(content->font), FALSE);
      ::SendMessageA(close, WM_SETFONT,
                     ::SendMessageA(::GetWindow(dialog, GW_OWNER), WM_GETFONT, 0, 0), FALSE);
      ::SetFocus(text);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowFindingsDialog(HINSTANCE instance, HWND owner, const std::string& text, HFONT font) {
  // A template without items: the dialog makes its two controls itself, in pixels.
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* form = reinterpret_cast<DLGTEMPLATE*>(words.data());
  form->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  form->cdit = 0;
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  AppendText(words, kFindingsCaption);
  const Content content{&text, font, instance};
  ::DialogBoxIndirectParamA(instance, reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
                            FindingsProc, reinterpret_cast<LPARAM>(&content));
}

}  // namespace vorlix::app
