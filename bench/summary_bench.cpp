// Times `vorlixc summary SHARE --recurse --html PAGE` over a collecting share against the floor
// that no summary can avoid: a plain pass that lists every folder of the share and reads every
// file whole (FindFirstFileA/FindNextFileA, CreateFileA/ReadFile), in this process. Summary and
// floor take turns; medians of the rounds are printed, with the summary's peak working set and
// the page's size.
// Usage: summary_bench.exe SHARE PAGE [rounds]; vorlixc.exe is taken from the folder above this
// program's.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

using vorlix::bench::Median;
using vorlix::bench::Seconds;

struct Floor {
  std::size_t files = 0;
  unsigned long long bytes = 0;
};

// Every file below the folder, listed and read whole.
void ListAndRead(const std::string& folder, std::vector<char>& buffer, Floor& floor) {
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListAndRead(path, buffer, floor);
      continue;
    }
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD read = 0;
    while (::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
           read > 0) {
      floor.bytes += read;
    }
    ::CloseHandle(file);
    ++floor.files;
  } while (::FindNextFileA(search, &entry));
  ::FindClose(search);
}

struct Run {
  double seconds = 0;
  SIZE_T peak = 0;
  DWORD status = 0;
};

Run Summary(const std::string& exe, const std::string& share, const std::string& page) {
  std::string command =
      "\"" + exe + "\" summary \"" + share + "\" --recurse --html \"" + page + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  // The child writes its text into the void through a handle it inherits.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul =
      ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  startup.hStdOutput = nul;
  startup.hStdError = nul;
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION process{};
  Run run;
  const double start = Seconds();
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "summary_bench: cannot start %s (%lu)\n", exe.c_str(), ::GetLastError());
    std::exit(2);
  }
  // Wine may forget the counters of a process that has ended: they are sampled while it runs.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  do {
    if (::GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
      run.peak = std::max(run.peak, memory.PeakWorkingSetSize);
    }
  } while (::WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT);
  run.seconds = Seconds() - start;
  ::GetExitCodeProcess(process.hProcess, &run.status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(nul);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: summary_bench.exe SHARE PAGE [rounds]\n");
    return 2;
  }
  const std::string share = argv[1];
  const std::string page = argv[2];
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string exe = self;
  exe = exe.substr(0, exe.find_last_of('\\'));
  exe = exe.substr(0, exe.find_last_of('\\')) + "\\vorlixc.exe";

  std::vector<char> buffer(64 * 1024);
  std::vector<double> floors, summaries;
  Floor floor;
  SIZE_T peak = 0;
  DWORD status = 0;
  for (int round = 0; round < rounds; ++round) {
    floor = {};
    const double start = Seconds();
    ListAndRead(share, buffer, floor);
    floors.push_back(Seconds() - start);
    const Run run = Summary(exe, share, page);
    summaries.push_back(run.seconds);
    peak = std::max(peak, run.peak);
    status = run.status;
  }
  WIN32_FILE_ATTRIBUTE_DATA pageData{};
  ::GetFileAttributesExA(page.c_str(), GetFileExInfoStandard, &pageData);
  const double pageBytes = static_cast<double>(
      (static_cast<unsigned long long>(pageData.nFileSizeHigh) << 32) | pageData.nFileSizeLow);
  const double s = Median(summaries);
  const double f = Median(floors);
  std::printf(
      "files=%zu bytes_mb=%.1f rounds=%d summary_s=%.2f floor_s=%.2f ratio_floor=%.2f "
      "peak_working_set_mb=%.1f page_mb=%.2f status=%lu\n",
      floor.files, floor.bytes / 1048576.0, rounds, s, f, s / f, peak / 1048576.0,
      pageBytes / 1048576.0, status);
  return status <= 1 ? 0 : 1;
}
