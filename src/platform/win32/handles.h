#pragma once

#include <windows.h>

#include <utility>

namespace vorlix::platform::win32 {

// Owns one system handle and closes it with Close(h) when it goes out of scope.
template <typename H, H Invalid, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Invalid);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  H get() const { return handle_; }
  bool valid() const { return handle_ != Invalid; }
  void reset(H handle = Invalid) {
    if (handle_ != Invalid) Closer{}(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = Invalid;
};

struct CloseFileHandle {
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct CloseFindHandle {
  void operator()(HANDLE h) const { ::FindClose(h); }
};
struct CloseRegKey {
  void operator()(HKEY h) const { ::RegCloseKey(h); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};

struct FreeLocalMemory {
  void operator()(HLOCAL memory) const { ::LocalFree(memory); }
};
struct FreeLibraryModule {
  void operator()(HMODULE module) const { ::FreeLibrary(module); }
};

// INVALID_HANDLE_VALUE is not a constant expression, so the owners compare with the raw value.
using UniqueFile = UniqueHandle<HANDLE, nullptr, CloseFileHandle>;
using UniqueFind = UniqueHandle<HANDLE, nullptr, CloseFindHandle>;
using UniqueHkey = UniqueHandle<HKEY, nullptr, CloseRegKey>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, nullptr, DeleteGdiObject>;
// Memory the system allocated for the caller, such as a security descriptor or a SID's text.
using UniqueLocal = UniqueHandle<HLOCAL, nullptr, FreeLocalMemory>;
using UniqueModule = UniqueHandle<HMODULE, nullptr, FreeLibraryModule>;
struct DestroyWindowHandle {
  void operator()(HWND window) const { ::DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<HWND, nullptr, DestroyWindowHandle>;

// The screen's device context, released when the owner goes out of scope.
class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// CreateFile and FindFirstFile signal failure with INVALID_HANDLE_VALUE; owners hold null instead.
inline HANDLE NullIfInvalid(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }

}  // namespace vorlix::platform::win32
