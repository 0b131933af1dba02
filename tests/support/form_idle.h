#pragma once
// A window in the test's own thread: its commands run on a worker and end with a message, so the
// test handles messages until the command in progress is over.

#include <windows.h>

#include "app/main_form.h"

namespace vorlix::testing {

inline void HandlePending(app::TForm1& form) {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (form.PreTranslateMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// Until the command has ended and the window has handled what its end sent (repaints included).
inline void WaitForCommand(app::TForm1& form) {
  for (HandlePending(form); form.Busy(); HandlePending(form)) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  HandlePending(form);
}

// A click as a user makes it, and the command it starts run to its end.
inline void ClickAndFinish(app::TForm1& form, app::Control button) {
  ::SendMessageA(form.control(button), BM_CLICK, 0, 0);
  WaitForCommand(form);
}

}  // namespace vorlix::testing
