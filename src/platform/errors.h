#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vorlix {

// An operating-system failure, with the system's own error code.
class OsError : public std::runtime_error {
 public:
  OsError(const std::string& message, std::uint32_t code)
      : std::runtime_error(message), code_(code) {}
  std::uint32_t code() const noexcept { return code_; }

 private:
  std::uint32_t code_;
};

// A failed read or write of a text file.
class InOutError : public OsError {
 public:
  InOutError(const std::string& file, std::uint32_t code)
      : OsError("I/O error " + std::to_string(code) + ": '" + file + "'", code) {}
};

// A command was asked to stop; no probe catches it, so it ends the whole command.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("The command was cancelled") {}
};

}  // namespace vorlix
