#pragma once
// The real window in the test's own thread, over the real file system (for its temporary report
// files) and a fake machine, with a driver that writes a report with two likely causes.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/main_form.h"
#include "fakes/fake_platform.h"
#include "platform/win32/win32_file_system.h"
#include "report/report_file.h"
#include "support/form_idle.h"

namespace vorlix::testing {

class FailingDriver final : public report::ReportDriver {
 public:
  void Run(report::ReportFile& file, const std::string&, int) override {
    file.WriteTitle("");
    file.WriteTitle("Checking licence folder...");
    file.SetCheck(report::Check::LicenceFolder);
    report::WriteCheckLine(file, 1, "L:\\Licence ...is missing", false);
    file.NoteFacts({false, std::nullopt});
    file.SetCheck(report::Check::ProjectFolder);
    report::WriteCheckLine(file, 1, "C:\\Gone ...is missing", false);
    file.WriteTitle("End of report");
  }
};

class FormOnFakes : public ::testing::Test {
 protected:
  platform::win32::Win32FileSystem files;
  fakes::FakeMachine fake;
  platform::Platform platform{files,        fake.registry, fake.profile,
                              fake.network, fake.dialogs,  fake.clock};
  FailingDriver driver;
  std::unique_ptr<app::TForm1> form;

  void SetUp() override {
    form = std::make_unique<app::TForm1>(::GetModuleHandleA(nullptr),
                                         app::MainFormServices{platform, driver, {}, {}, nullptr});
    form->Show(SW_SHOWNORMAL);
  }

  // Chooses the first program and makes its report.
  void MakeReport() {
    const HWND programs = form->control(app::Control::ComboBox1);
    ::SendMessageA(programs, CB_SETCURSEL, 0, 0);
    ::SendMessageA(form->handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(programs), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(programs));
    ClickAndFinish(*form, app::Control::CreateBtn);
  }

  RECT Place(app::Control c) {
    RECT r{};
    ::GetWindowRect(form->control(c), &r);
    ::MapWindowPoints(nullptr, form->handle(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }

  LONG FontHeight(app::Control c) {
    LOGFONTA font{};
    const auto handle =
        reinterpret_cast<HGDIOBJ>(::SendMessageA(form->control(c), WM_GETFONT, 0, 0));
    if (handle) ::GetObjectA(handle, sizeof font, &font);
    return font.lfHeight;
  }
};

}  // namespace vorlix::testing
