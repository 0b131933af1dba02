// A program that imports the networking DLL the usual way, without the programs' protection:
// the stand-in beside it must run, or the planted-DLL test could not fail. The import is never
// called, so that a stand-in without it ends nothing but the mark.
#include <windows.h>
#include <winnetwk.h>

int main(int argc, char*[]) {
  if (argc < 100) return 0;
  char remote[MAX_PATH];
  DWORD length = sizeof remote;
  return ::WNetGetConnectionA("Q:", remote, &length) == NO_ERROR ? 1 : 0;
}
