#pragma once

#include <windows.h>

namespace vorlix::platform::win32 {

// Every DLL loaded from now on, and every DLL those load, comes from the system folder alone:
// never from the program's folder, which on a share others may write, nor from the current
// folder or the path. The first thing each program does; false when the system refuses.
inline bool LoadDllsFromSystemFolderOnly() {
  return ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != 0;
}

}  // namespace vorlix::platform::win32
