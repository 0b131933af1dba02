#pragma once
// The real vorlixc.exe, run as a script runs it (VORLIXC_EXE names its Unix path).

#include <windows.h>

#include <string>

#include "support/patience.h"
#include "support/scratch_files.h"

namespace vorlix::testing {

struct Outcome {
  DWORD status = 0xFFFFFFFF;
  std::string out, err;
};

inline std::string VorlixcPath() {
  std::string path = "Z:" + std::string(VORLIXC_EXE);
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

// Runs vorlixc.exe (or the copy of it given) with its standard output and error in files of
// their own.
inline Outcome Vorlixc(const std::string& arguments, const std::string& scratch,
                       const std::string& exe = VorlixcPath()) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const std::string names[2] = {scratch + "\\stdout.bin", scratch + "\\stderr.bin"};
  HANDLE streams[2];
  for (int i = 0; i < 2; ++i) {
    streams[i] = ::CreateFileA(names[i].c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, 0, nullptr);
  }
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = streams[0];
  start.hStdError = streams[1];
  PROCESS_INFORMATION process{};
  std::string line = exe;
  line.insert(line.begin(), '"');
  line.append("\" ").append(arguments);
  Outcome outcome;
  if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                       &process)) {
    ::WaitForSingleObject(process.hProcess, kPatienceMs);
    ::GetExitCodeProcess(process.hProcess, &outcome.status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  for (HANDLE stream : streams) ::CloseHandle(stream);
  outcome.out = ReadWholeFile(names[0]);
  outcome.err = ReadWholeFile(names[1]);
  return outcome;
}

}  // namespace vorlix::testing
