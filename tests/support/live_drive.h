#pragma once
// A drive letter connected to a share, live under Wine: the share \\SERVER\SHARE is a folder in the
// prefix's dosdevices\unc, and the letter is defined through Wine's mount manager, so that
// GetDriveType says DRIVE_REMOTE and WNetGetConnection names the share. The mount manager takes
// the definition at once; no wineserver restart is needed.

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace vorlix::testing {

class LiveMappedDrive {
 public:
  LiveMappedDrive(char letter, std::string server, std::string share)
      : letter_(letter), server_(std::move(server)), share_(std::move(share)) {
    char prefix[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (length == 0 || length >= sizeof prefix) {
      ADD_FAILURE() << "not running under Wine";
      return;
    }
    std::string unix(prefix, length);
    for (char& c : unix) c = c == '/' ? '\\' : c;
    served_ = "Z:" + unix + "\\dosdevices\\unc\\" + server_ + "\\" + share_;
    for (std::size_t slash = served_.find('\\', 3); slash != std::string::npos;
         slash = served_.find('\\', slash + 1)) {
      ::CreateDirectoryA(served_.substr(0, slash).c_str(), nullptr);
    }
    ::CreateDirectoryA(served_.c_str(), nullptr);
    Map();
  }
  ~LiveMappedDrive() { Unmap(); }
  LiveMappedDrive(const LiveMappedDrive&) = delete;
  LiveMappedDrive& operator=(const LiveMappedDrive&) = delete;

  // The letter with its colon, "T:".
  std::string drive() const { return std::string{letter_, ':'}; }
  // The share's network name, "\\fs1\shared".
  std::string unc() const { return "\\\\" + server_ + "\\" + share_; }
  // The share's folder reached without the letter or the network name.
  const std::string& served() const { return served_; }

  void Map() { mapped_ = Define(("unc/" + server_ + "/" + share_).c_str()) || mapped_; }
  // The letter is gone, as it is for a run with "Run as administrator"; the share stays.
  void Unmap() {
    if (mapped_ && Define(nullptr)) mapped_ = false;
  }

 private:
  // The mount manager's own request, as Wine declares it.
  struct UnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
  };
  static constexpr DWORD kDefineUnixDrive =
      CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

  // Defines the letter as a network drive on the unix folder, or removes it (null).
  bool Define(const char* unixFolder) {
    const HANDLE manager =
        ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "no mount manager: " << ::GetLastError();
      return false;
    }
    std::string request(sizeof(UnixDrive), '\0');
    UnixDrive drive{};
    drive.size = sizeof drive;
    drive.letter = static_cast<WCHAR>(letter_ | 0x20);
    if (unixFolder) {
      drive.type = DRIVE_REMOTE;
      drive.mountPointOffset = sizeof drive;
      request.append(unixFolder, std::strlen(unixFolder) + 1);
      drive.size = static_cast<ULONG>(request.size());
    }
    std::memcpy(request.data(), &drive, sizeof drive);
    DWORD returned = 0;
    const BOOL done =
        ::DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                          static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    const DWORD error = ::GetLastError();
    ::CloseHandle(manager);
    if (!done) ADD_FAILURE() << "mount manager refused drive " << letter_ << ": " << error;
    return done;
  }

  char letter_;
  std::string server_;
  std::string share_;
  std::string served_;
  bool mapped_ = false;
};

}  // namespace vorlix::testing
