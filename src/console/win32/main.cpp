#include <string>
#include <vector>

#include "common/command_platform.h"
#include "console/commands.h"
#include "console/output.h"
#include "console/win32/progress_line.h"
#include "console/win32/win32_session.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_adapters.h"

// The words arrive in the ANSI code page, like every other text of the program.
int main(int argc, char* argv[]) {
  using namespace vorlix;
  console::win32::Win32Streams streams;
  if (!platform::win32::LoadDllsFromSystemFolderOnly()) {
    console::Tell(streams, console::kSystemFolderOnly);
    return console::kFileError;
  }
  const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  platform::win32::Win32Adapters os;
  CommandPlatform commands({os.files, os.registry, os.profile, os.network, os.clock});
  console::win32::Win32Session session;
  console::System system{commands.files(),
                         commands.registry(),
                         commands.profile(),
                         commands.network(),
                         commands.clock(),
                         session,
                         streams,
                         &commands};
  const console::win32::ProgressLine progress(commands.session());
  return console::Main(words, system);
}
