#pragma once

#include <string>
#include <string_view>

namespace vorlix::console {

// What a command-line run needs to know about its own process and session, beyond what the
// logic asks of the system.
class Session {
 public:
  virtual ~Session() = default;
  virtual std::string ComputerName() = 0;  // ANSI
  virtual std::string UserName() = 0;      // ANSI
  // True when the process token is elevated (a "Run as administrator" run).
  virtual bool IsElevated() = 0;
  // Local time minus UTC, in minutes, now.
  virtual int UtcOffsetMinutes() = 0;
  // The system's ANSI code page (1252 on a Western European system).
  virtual int AnsiCodePage() = 0;
  // Text in the system's ANSI code page as UTF-8.
  virtual std::string AnsiToUtf8(std::string_view ansi) = 0;
  // The file version in the program's own version resource ("1.32.0.0"); empty without one.
  virtual std::string FileVersion() = 0;
};

// Standard output and standard error. Out takes the bytes unchanged; a failed write throws
// InOutError. Err is for messages; its failures are ignored, there is nowhere left to tell.
class Streams {
 public:
  virtual ~Streams() = default;
  virtual void Out(std::string_view bytes) = 0;
  virtual void Err(std::string_view text) = 0;
  // True when standard error is a console a person watches, which may show progress.
  virtual bool ErrIsConsole() { return false; }
};

}  // namespace vorlix::console
