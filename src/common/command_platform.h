#pragma once

#include "common/command_session.h"
#include "common/remembered_connections.h"
#include "common/session_files.h"
#include "common/share_outages.h"
#include "platform/platform.h"

namespace vorlix {

// The system's adapters as a front end's main puts them together.
struct SystemAdapters {
  platform::FileSystem& files;
  platform::Registry& registry;
  platform::PrivateProfile& profile;
  platform::NetworkNames& network;
  platform::Clock& clock;
};

// The system as the commands of one front end see it: every file and ini-file call a call of the
// command's session, through the memory of unanswered shares and of the drive letters'
// connections, both kept for one command.
class CommandPlatform {
 public:
  explicit CommandPlatform(SystemAdapters adapters)
      : adapters_(adapters),
        connections_(adapters.network),
        outages_(adapters.files, connections_),
        files_(outages_, session_),
        profile_(adapters.profile, session_) {}
  CommandPlatform(const CommandPlatform&) = delete;
  CommandPlatform& operator=(const CommandPlatform&) = delete;

  // A command begins: it asks every server and drive letter again and is not cancelled. The
  // caller starts one command at a time, before it runs.
  void StartCommand() {
    session_.Start();
    connections_.Forget();
    outages_.Forget();
  }
  CommandSession& session() { return session_; }

  platform::FileSystem& files() { return files_; }
  platform::Registry& registry() { return adapters_.registry; }
  platform::PrivateProfile& profile() { return profile_; }
  platform::NetworkNames& network() { return connections_; }
  platform::Clock& clock() { return adapters_.clock; }
  // Everything the logic may ask, with the front end's own dialogs.
  platform::Platform With(platform::Dialogs& dialogs) {
    return {files_, adapters_.registry, profile_, connections_, dialogs, adapters_.clock};
  }

 private:
  SystemAdapters adapters_;
  CommandSession session_;
  RememberedConnections connections_;
  ShareOutages outages_;
  SessionFiles files_;
  SessionProfile profile_;
};

}  // namespace vorlix
