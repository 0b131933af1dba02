#pragma once

#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/win32/handles.h"

namespace vorlix::platform::win32 {

// A DLL of the system folder, never one beside the program or on the search path, held loaded
// while the owner lives. Not for the KnownDLLs, which the system loads from there anyway.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name)
      : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)),
        error_(module_.valid() ? 0 : ::GetLastError()) {}

  // The function of that name, or null when the library or the function is missing; error()
  // then tells why.
  template <typename Function>
  Function* Find(const char* name) {
    if (!module_.valid()) return nullptr;
    FARPROC found = ::GetProcAddress(module_.get(), name);
    if (!found) error_ = ::GetLastError();
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
  }
  DWORD error() const { return error_; }

 private:
  UniqueModule module_;
  DWORD error_;
};

}  // namespace vorlix::platform::win32
