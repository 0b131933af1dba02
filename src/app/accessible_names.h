#pragma once

#include <windows.h>

#include <oleacc.h>

#include <vector>

namespace vorlix::app {

// The system's annotation service and its name property, from the system's headers: kept here so
// that no import library of the annotation DLL is linked.
inline constexpr CLSID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
inline constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
inline constexpr MSAAPROPID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// Names that assistive technology reads for controls whose own text says what they hold, not
// what they are for (a drop-down list announces its choice). Set through the system's
// annotation service, which lives in a DLL the program does not import: it is reached through
// COM. Where that service is missing the controls keep the names the system gives them. Made
// on a thread that has joined a COM apartment.
class AccessibleNames {
 public:
  AccessibleNames();
  ~AccessibleNames();
  AccessibleNames(const AccessibleNames&) = delete;
  AccessibleNames& operator=(const AccessibleNames&) = delete;

  // True when the system took the name.
  bool Name(HWND control, const wchar_t* name);
  // Takes every name back; called before the controls go.
  void Clear();

 private:
  IAccPropServices* services_ = nullptr;  // owned: released by the destructor
  std::vector<HWND> named_;
};

}  // namespace vorlix::app
