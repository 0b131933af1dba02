// Folder and file names outside plain ASCII, in the system's ANSI code page, travel unchanged
// from the file system through the report into the memo and out through "&Save as...".

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_form.h"
#include "fakes/fake_dialogs.h"
#include "report/report_driver.h"
#include "support/form_idle.h"
#include "support/scratch_registry.h"
#include "support/win32_platform.h"

namespace vorlix::app {
namespace {

TEST(AnsiText, NamesWithAccentsSurviveReportMemoAndSave) {
  ASSERT_EQ(::GetACP(), 1252u) << "the expected bytes below are those of code page 1252";
  testing::Win32Platform os;
  platform::FileSystem& files = os.files();
  fakes::FakeDialogs dialogs;
  platform::Platform system = os.With(dialogs);
  report::DiagnosticReport driver{system};

  const std::string root = files.TempFolder() + "vorlix-ansi";
  const std::string project = root + "\\Projekt M\xfcller";  // u with diaeresis
  const std::string licence = root + "\\Licence \xe9t\xe9";  // e with acute
  ::CreateDirectoryA(root.c_str(), nullptr);
  ::CreateDirectoryA(project.c_str(), nullptr);
  ::CreateDirectoryA(licence.c_str(), nullptr);
  HANDLE file = ::CreateFileA((licence + "\\r\xe9sum\xe9.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ::CloseHandle(file);
  const std::string ini = root + "\\Gaspin.Ini";
  ::WritePrivateProfileStringA("Gaspin", "LicenseFolder", licence.c_str(), ini.c_str());
  {
    testing::ScratchKey machine(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Gaspin");
    testing::ScratchKey user(HKEY_CURRENT_USER, "Software\\Tarnwick\\Tarnwick");
    machine.SetString("Path", root);
    user.SetString("TarnWickProjectPath", project);

    TForm1 form(::GetModuleHandleA(nullptr), {system, driver, nullptr, nullptr, &os.commands()});
    form.Show(SW_SHOWNORMAL);
    HWND programs = form.control(Control::ComboBox1);
    ::SendMessageA(programs, CB_SETCURSEL, 5, 0);
    ::SendMessageA(form.handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(programs), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(programs));
    testing::ClickAndFinish(form, Control::CreateBtn);

    const std::string memo = form.MemoText();
    EXPECT_NE(memo.find("   Passed: HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=" +
                        project + "\r\n"),
              std::string::npos);
    EXPECT_NE(memo.find("   Passed: " + project + " ...found\r\n"), std::string::npos);
    EXPECT_NE(memo.find("   Passed: Gaspin.ini [Gaspin] LicenseFolder=" + licence + "\r\n"),
              std::string::npos);
    EXPECT_NE(memo.find(" Name=r\xe9sum\xe9.txt\r\n"), std::string::npos);

    const std::string saved = root + "\\Rapport \xe9t\xe9.txt";
    dialogs.saveAnswers.push_back(saved);
    ::SendMessageA(form.control(Control::SaveAsBtn), BM_CLICK, 0, 0);
    EXPECT_EQ(files.ReadAll(saved), memo);  // byte for byte
    ::DeleteFileA(saved.c_str());
  }
  ::DeleteFileA((licence + "\\r\xe9sum\xe9.txt").c_str());
  ::DeleteFileA(ini.c_str());
  ::RemoveDirectoryA(licence.c_str());
  ::RemoveDirectoryA(project.c_str());
  ::RemoveDirectoryA(root.c_str());
}

}  // namespace
}  // namespace vorlix::app
