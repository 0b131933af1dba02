#include <windows.h>

#include <exception>

#include "app/main_form.h"
#include "app/win32_dialogs.h"
#include "common/family.h"
#include "drivemap/drive_map_commands.h"
#include "platform/win32/win32_system.h"
#include "report/report_driver.h"

namespace {

int RunMessageLoop(vorlix::app::TForm1& form) {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  using namespace vorlix;
  platform::win32::Win32System os;
  app::Win32Dialogs dialogs;
  platform::Platform system = os.With(dialogs);
  report::DiagnosticReport driver(system);
  try {
    app::TForm1 form(instance, {system, driver, [&system] { drivemap::StoreDriveMap(system); },
                                [&system](const std::string& program) {
                                  return drivemap::ConvertToUNC(system, program);
                                },
                                &os.outages()});
    dialogs.SetOwner(form.handle());
    form.Show(showCommand);
    return RunMessageLoop(form);
  } catch (const std::exception& error) {
    ::MessageBoxA(nullptr, error.what(), family::kTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
