// What a screen reader hears for each control. Wine's annotation service takes no names (its
// SetHwndPropStr does nothing), so the names the window gives are read where it hands them over:
// a recording service stands in for the system's, registered under the system's class id. What
// the system itself tells a screen reader (AccessibleObjectFromWindow, get_accName) is read
// for the controls named by their own text.

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/accessible_names.h"
#include "app/main_form.h"
#include "support/form_on_fakes.h"

namespace vorlix::app {
namespace {

// The accessible-object interface's id, kept here: the accessibility DLL is loaded at run time,
// as a program without its import library reaches it.
constexpr IID kAccessibleInterface = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Annotation {
  HWND window;
  DWORD object;
  DWORD child;
  bool nameProperty;
  std::wstring text;  // empty for a clearing
};

// Records every name set or cleared; the test owns it, COM's references only count.
class RecordingServices final : public IAccPropServices, public IClassFactory {
 public:
  std::vector<Annotation> set, cleared;

  HRESULT WINAPI QueryInterface(REFIID id, void** out) override {
    if (id == IID_IUnknown || id == kAccPropServicesInterface) {
      *out = static_cast<IAccPropServices*>(this);
    } else if (id == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG WINAPI AddRef() override { return 2; }
  ULONG WINAPI Release() override { return 1; }

  HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID id, void** out) override {
    return outer ? CLASS_E_NOAGGREGATION : QueryInterface(id, out);
  }
  HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

  HRESULT WINAPI SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
    set.push_back({window, object, child, property == kNameProperty, text});
    return S_OK;
  }
  HRESULT WINAPI ClearHwndProps(HWND window, DWORD object, DWORD child,
                                const MSAAPROPID* properties, int count) override {
    cleared.push_back({window, object, child, count == 1 && properties[0] == kNameProperty, {}});
    return S_OK;
  }

  HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                               AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                   AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                    AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
    return E_NOTIMPL;
  }
};

// The window's thread in a COM apartment, as the program's main puts it.
class NamedForm : public testing::FormOnFakes {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    FormOnFakes::SetUp();
  }
  void TearDown() override {
    form.reset();
    ::CoUninitialize();
  }

  // What the system tells a screen reader the control is called.
  std::wstring NameOf(Control c) {
    using ObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    const HMODULE oleacc = ::LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const auto objectFromWindow = reinterpret_cast<ObjectFromWindow>(
        reinterpret_cast<void (*)()>(::GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
    if (!objectFromWindow) return L"(no oleacc)";
    IAccessible* accessible = nullptr;
    if (FAILED(objectFromWindow(form->control(c), static_cast<DWORD>(OBJID_CLIENT),
                                kAccessibleInterface, reinterpret_cast<void**>(&accessible)))) {
      return L"(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT named = accessible->get_accName(self, &name);
    accessible->Release();
    if (named != S_OK || !name) return L"(no name)";
    std::wstring text(name, ::SysStringLen(name));
    ::SysFreeString(name);
    return text;
  }
};

// With the recording service in place of the system's, for the window made after it.
class NamedFormRecorded : public NamedForm {
 protected:
  RecordingServices services;
  DWORD registration = 0;

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(SUCCEEDED(
        ::CoRegisterClassObject(kAccPropServicesClass, static_cast<IClassFactory*>(&services),
                                CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration)));
    FormOnFakes::SetUp();
  }
  void TearDown() override {
    form.reset();
    ::CoRevokeClassObject(registration);
    ::CoUninitialize();
  }
};

TEST_F(NamedFormRecorded, TheListsAloneAreNamedAndTheirNamesGoWithTheWindow) {
  struct Case {
    Control control;
    const wchar_t* name;
  };
  const Case cases[] = {
      {Control::ComboBox1, L"Program"},
      {Control::ComboBox2, L"Report level"},
  };
  ASSERT_EQ(services.set.size(), std::size(cases));  // no other control renamed
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Annotation& a = services.set[i];
    EXPECT_EQ(a.window, form->control(cases[i].control)) << i;
    EXPECT_EQ(a.object, static_cast<DWORD>(OBJID_CLIENT)) << i;
    EXPECT_EQ(a.child, static_cast<DWORD>(CHILDID_SELF)) << i;
    EXPECT_TRUE(a.nameProperty) << i;
    EXPECT_EQ(a.text, cases[i].name) << i;
  }
  EXPECT_TRUE(services.cleared.empty());  // while the window lives
  const HWND lists[] = {form->control(Control::ComboBox1), form->control(Control::ComboBox2)};
  form.reset();
  ASSERT_EQ(services.cleared.size(), std::size(lists));
  for (std::size_t i = 0; i < std::size(lists); ++i) {
    EXPECT_EQ(services.cleared[i].window, lists[i]) << i;
    EXPECT_TRUE(services.cleared[i].nameProperty) << i;
  }
}

// The buttons and the verdict line are read by their own text: the system's accessible object
// gives it as their name, a mnemonic's '&' left out.
TEST_F(NamedForm, ButtonsAndTheVerdictAreReadAsTheirText) {
  MakeReport();
  struct Case {
    Control control;
    const wchar_t* name;
  };
  const Case cases[] = {
      {Control::CreateBtn, L"Create"},
      {Control::SaveDriveMapBtn, L"Store drive map..."},
      {Control::CloseBtn, L"Close"},
  };
  for (const Case& c : cases) EXPECT_EQ(NameOf(c.control), c.name) << static_cast<int>(c.control);
  wchar_t verdict[256] = {};
  ::GetWindowTextW(form->control(Control::VerdictText), verdict, 256);
  EXPECT_TRUE(std::wstring(verdict).starts_with(L"Likely cause: "));
  EXPECT_EQ(NameOf(Control::VerdictText), verdict);
}

}  // namespace
}  // namespace vorlix::app
