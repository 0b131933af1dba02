#pragma once

namespace vorlix::app {

// A property the main window holds while a command runs, for scripts that drive the window from
// outside: the buttons alone do not tell, since a short command leaves them as they are.
inline constexpr char kCommandRunningProperty[] = "Vorlix.CommandRunning";

}  // namespace vorlix::app
