#pragma once

#include <windows.h>

#include <string>

#include "platform/errors.h"

namespace vorlix::platform::win32 {

// Raises the error type with the message and the code the failed call left behind; the one way
// the adapters turn a failed call into an exception.
template <typename Error = OsError>
[[noreturn]] void ThrowLastError(const std::string& message) {
  throw Error(message, ::GetLastError());
}

}  // namespace vorlix::platform::win32
