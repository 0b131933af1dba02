// A stand-in for a DLL of the system: loaded, it leaves "<its own path>.loaded" beside itself and
// does nothing else. It imports the kernel alone, which Windows never takes from a program's
// folder, and needs no C runtime, so that it runs under any name.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  static const wchar_t kMark[] = L".loaded";
  wchar_t path[MAX_PATH + sizeof kMark / sizeof kMark[0]];
  const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  for (DWORD i = 0; i < sizeof kMark / sizeof kMark[0]; ++i) path[length + i] = kMark[i];
  const HANDLE mark = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
  return TRUE;
}
