#include "app/findings_dialog.h"

#include <string_view>
#include <vector>

#include "app/dpi.h"
#include "platform/win32/handles.h"

namespace vorlix::app {

namespace {

// At kDesignDpi.
constexpr int kClientWidth = 860;
constexpr int kClientHeight = 420;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 95;
constexpr int kButtonHeight = 28;

// What the dialog shows and, once it is on a monitor of another density than its owner, the
// fonts it made for that density.
struct Content {
  const std::string* text;
  FindingsFonts given;
  HINSTANCE instance;
  UINT dpi = kDesignDpi;
  platform::win32::UniqueGdiObject textFont;
  platform::win32::UniqueGdiObject buttonFont;
};

void AppendText(std::vector<WORD>& words, std::string_view text) {
  for (char c : text) words.push_back(static_cast<unsigned char>(c));
  words.push_back(0);
}

HFONT Rescaled(HFONT font, UINT from, UINT to) {
  LOGFONTA shape{};
  if (!::GetObjectA(font, sizeof shape, &shape)) return nullptr;
  shape.lfHeight = ::MulDiv(shape.lfHeight, static_cast<int>(to), static_cast<int>(from));
  shape.lfWidth = ::MulDiv(shape.lfWidth, static_cast<int>(to), static_cast<int>(from));
  return ::CreateFontIndirectA(&shape);
}

// The owner's fonts at its density, or copies made for the dialog's.
void ApplyFonts(HWND dialog, Content& content) {
  HFONT text = content.given.text;
  HFONT button = content.given.button;
  if (content.dpi != content.given.dpi) {
    content.textFont.reset(Rescaled(text, content.given.dpi, content.dpi));
    content.buttonFont.reset(Rescaled(button, content.given.dpi, content.dpi));
    if (content.textFont.valid()) text = static_cast<HFONT>(content.textFont.get());
    if (content.buttonFont.valid()) button = static_cast<HFONT>(content.buttonFont.get());
  }
  ::SendDlgItemMessageA(dialog, kFindingsTextId, WM_SETFONT, reinterpret_cast<WPARAM>(text), TRUE);
  ::SendDlgItemMessageA(dialog, IDCANCEL, WM_SETFONT, reinterpret_cast<WPARAM>(button), TRUE);
}

void LayOut(HWND dialog, UINT dpi) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  const int margin = Scaled(kMargin, dpi);
  const int buttonWidth = Scaled(kButtonWidth, dpi);
  const int buttonHeight = Scaled(kButtonHeight, dpi);
  ::MoveWindow(::GetDlgItem(dialog, kFindingsTextId), margin, margin, client.right - 2 * margin,
               client.bottom - 3 * margin - buttonHeight, TRUE);
  ::MoveWindow(::GetDlgItem(dialog, IDCANCEL), client.right - margin - buttonWidth,
               client.bottom - margin - buttonHeight, buttonWidth, buttonHeight, TRUE);
}

void Open(HWND dialog, Content& content) {
  ::SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&content));
  content.dpi = WindowDpi(dialog);
  const SIZE frame =
      FrameSize(Scaled(kClientWidth, content.dpi), Scaled(kClientHeight, content.dpi),
                static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)),
                static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)), content.dpi);
  RECT owner{};
  ::GetWindowRect(::GetWindow(dialog, GW_OWNER), &owner);
  const LONG left = owner.left + (owner.right - owner.left - frame.cx) / 2;
  const LONG top = owner.top + (owner.bottom - owner.top - frame.cy) / 2;
  const RECT place = InsideWorkArea({left, top, left + frame.cx, top + frame.cy});
  ::MoveWindow(dialog, place.left, place.top, place.right - place.left, place.bottom - place.top,
               FALSE);
  const HWND text = ::CreateWindowExA(
      WS_EX_CLIENTEDGE, "EDIT", content.text->c_str(),
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
          ES_AUTOVSCROLL | ES_AUTOHSCROLL,
      0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFindingsTextId)),
      content.instance, nullptr);
  ::CreateWindowExA(0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                    0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)),
                    content.instance, nullptr);
  ApplyFonts(dialog, content);
  LayOut(dialog, content.dpi);
  ::SetFocus(text);
}

INT_PTR CALLBACK FindingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(dialog, *reinterpret_cast<Content*>(lParam));
      return FALSE;  // the focus is set
    case WM_DPICHANGED: {
      auto* content = reinterpret_cast<Content*>(::GetWindowLongPtrA(dialog, DWLP_USER));
      if (!content) return FALSE;
      content->dpi = HIWORD(wParam);
      ApplyFonts(dialog, *content);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(dialog, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut(dialog, content->dpi);
      return TRUE;
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

void ShowFindingsDialog(HINSTANCE instance, HWND owner, const std::string& text,
                        const FindingsFonts& fonts) {
  // A template without items: the dialog makes its two controls itself, in pixels.
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* form = reinterpret_cast<DLGTEMPLATE*>(words.data());
  form->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  form->cdit = 0;
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  AppendText(words, kFindingsCaption);
  Content content{&text, fonts, instance, kDesignDpi, {}, {}};
  ::DialogBoxIndirectParamA(instance, reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
                            FindingsProc, reinterpret_cast<LPARAM>(&content));
}

}  // namespace vorlix::app
