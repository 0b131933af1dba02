#pragma once

#include "console/session.h"

namespace vorlix::console::win32 {

class Win32Session final : public Session {
 public:
  std::string ComputerName() override;
  std::string UserName() override;
  bool IsElevated() override;
  int UtcOffsetMinutes() override;
  int AnsiCodePage() override;
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string FileVersion() override;
};

// The process's standard handles, written as bytes: the report keeps its CR LF and ANSI text.
class Win32Streams final : public Streams {
 public:
  void Out(std::string_view bytes) override;
  void Err(std::string_view text) override;
  bool ErrIsConsole() override;
};

}  // namespace vorlix::console::win32
