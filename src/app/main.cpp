#include <windows.h>

#include <objbase.h>

#include <exception>

#include "app/main_form.h"
#include "app/win32_dialogs.h"
#include "app/worker_dialogs.h"
#include "common/command_platform.h"
#include "common/family.h"
#include "drivemap/drive_map_commands.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_adapters.h"
#include "report/report_driver.h"

namespace {

constexpr char kSystemFolderOnly[] =
    "Windows cannot be told to load DLLs from the system folder only, so Vorlix does not start.";

// The window's thread in a single-threaded COM apartment, for the window's accessible names and
// the file dialog.
class ComApartment {
 public:
  ComApartment() : joined_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (joined_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_;
};

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
  if (!platform::win32::LoadDllsFromSystemFolderOnly()) {
    ::MessageBoxA(nullptr, kSystemFolderOnly, family::kTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
  const ComApartment apartment;
  platform::win32::Win32Adapters os;
  CommandPlatform commands({os.files, os.registry, os.profile, os.network, os.clock});
  app::Win32Dialogs shown;
  // A command once closed shows nothing more.
  app::WorkerDialogs dialogs(shown, [&commands] { return commands.session().IsCancelled(); });
  platform::Platform system = commands.With(dialogs);
  report::DiagnosticReport driver(system);
  try {
    app::TForm1 form(instance, {system, driver, [&system] { drivemap::StoreDriveMap(system); },
                                [&system](const std::string& program) {
                                  return drivemap::ConvertToUNC(system, program);
                                },
                                &commands});
    shown.SetOwner(form.handle());
    form.Show(showCommand);
    const int status = RunMessageLoop(form);
    // The worker's call never returned; what it made is a scratch file the system deletes.
    if (form.LeftToTheSystem()) ::ExitProcess(static_cast<UINT>(status));
    return status;
  } catch (const std::exception& error) {
    ::MessageBoxA(nullptr, error.what(), family::kTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
