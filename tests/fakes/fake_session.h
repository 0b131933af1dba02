#pragma once

#include <string>
#include <string_view>

#include "common/release.h"
#include "console/session.h"
#include "platform/errors.h"

namespace vorlix::fakes {

// A session with chosen names and rights.
class FakeSession final : public console::Session {
 public:
  std::string computer = "PC042";
  std::string user = "anna";
  bool elevated = true;

  std::string ComputerName() override { return computer; }
  std::string UserName() override { return user; }
  bool IsElevated() override { return elevated; }
  int UtcOffsetMinutes() override { return 60; }
  int AnsiCodePage() override { return 1252; }
  std::string FileVersion() override { return VORLIX_RELEASE ".0.0"; }
  // Names here are ASCII; the conversion itself is tested under Wine.
  std::string AnsiToUtf8(std::string_view ansi) override { return std::string(ansi); }
};

// Standard output and error kept in memory; output can be made to fail.
class FakeStreams final : public console::Streams {
 public:
  std::string out;
  std::string err;
  bool failOut = false;
  bool console = false;

  void Out(std::string_view bytes) override {
    if (failOut) throw InOutError("standard output", 232);  // ERROR_NO_DATA, a closed pipe
    out.append(bytes);
  }
  void Err(std::string_view text) override { err.append(text); }
  bool ErrIsConsole() override { return console; }
};

}  // namespace vorlix::fakes
