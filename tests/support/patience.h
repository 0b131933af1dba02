#pragma once
// How long a test waits for a window, a dialog, a process or a command before it gives up. A
// machine whose cores are busy with other builds may take many times the usual second: a slow
// machine makes a test slower, never red. Nothing is measured against this limit.

#include <chrono>

#include <windows.h>

namespace vorlix::testing {

inline constexpr std::chrono::milliseconds kPatience = std::chrono::seconds(60);
// The same limit, for the system's calls that take milliseconds.
inline constexpr DWORD kPatienceMs = static_cast<DWORD>(kPatience.count());

// The moment a wait that starts now gives up.
inline std::chrono::steady_clock::time_point PatienceFromNow() {
  return std::chrono::steady_clock::now() + kPatience;
}

}  // namespace vorlix::testing
