#include "app/accessible_names.h"

namespace vorlix::app {

AccessibleNames::AccessibleNames() {
  void* services = nullptr;
  if (SUCCEEDED(::CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                   kAccPropServicesInterface, &services))) {
    services_ = static_cast<IAccPropServices*>(services);
  }
}

AccessibleNames::~AccessibleNames() {
  Clear();
  if (services_) services_->Release();
}

bool AccessibleNames::Name(HWND control, const wchar_t* name) {
  if (!services_) return false;
  if (FAILED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       kNameProperty, name))) {
    return false;
  }
  named_.push_back(control);
  return true;
}

void AccessibleNames::Clear() {
  for (const HWND control : named_) {
    MSAAPROPID property = kNameProperty;
    services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property,
                              1);
  }
  named_.clear();
}

}  // namespace vorlix::app
