#pragma once
// A window in the test's own thread: its commands run on a worker and end with a message, so the
// test handles messages until the command in progress is over.

#include <windows.h>

#include "app/main_form.h"

namespace vorlix::testing {

inline void WaitForCommand(app::TForm1& form) {
  MSG message;
  for (;;) {
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (form.PreTranslateMessage(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    if (!form.Busy()) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// A click as a user makes it, and the command it starts run to its end.
inline void ClickAndFinish(app::TForm1& form, app::Control button) {
  ::SendMessageA(form.control(button), BM_CLICK, 0, 0);
  WaitForCommand(form);
}

}  // namespace vorlix::testing
