#include <string>
#include <vector>

#include "console/commands.h"
#include "console/win32/win32_session.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_network_names.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"

// The words arrive in the ANSI code page, like every other text of the program.
int main(int argc, char* argv[]) {
  using namespace vorlix;
  const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  platform::win32::Win32FileSystem files;
  platform::win32::Win32Registry registry;
  platform::win32::Win32PrivateProfile profile;
  platform::win32::Win32NetworkNames network;
  platform::win32::Win32Clock clock;
  console::win32::Win32Session session;
  console::win32::Win32Streams streams;
  console::System system{files, registry, profile, network, clock, session, streams};
  return console::Main(words, system);
}
