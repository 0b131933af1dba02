#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/session.h"
#include "platform/errors.h"

namespace vorlix::fakes {

// A session with chosen names and rights; its ANSI code page is 1252.
class FakeSession final : public console::Session {
 public:
  std::string computer = "PC042";
  std::string user = "anna";
  bool elevated = true;
  int utcOffsetMinutes = 60;
  std::string fileVersion = "1.32.0.0";

  std::string ComputerName() override { return computer; }
  std::string UserName() override { return user; }
  bool IsElevated() override { return elevated; }
  int UtcOffsetMinutes() override { return utcOffsetMinutes; }
  std::string FileVersion() override { return fileVersion; }
  std::string AnsiToUtf8(std::string_view ansi) override {
    std::string utf8;
    for (const char c : ansi) Append(utf8, CodePoint(static_cast<unsigned char>(c)));
    return utf8;
  }

 private:
  // 0x80 to 0x9F differ from Latin-1; the five unassigned bytes map to themselves.
  static std::uint32_t CodePoint(unsigned char byte) {
    static constexpr std::uint16_t kHigh[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
  }
  static void Append(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
};

// Standard output and error kept in memory; output can be made to fail.
class FakeStreams final : public console::Streams {
 public:
  std::string out;
  std::string err;
  bool failOut = false;

  void Out(std::string_view bytes) override {
    if (failOut) throw InOutError("standard output", 232);  // ERROR_NO_DATA, a closed pipe
    out.append(bytes);
  }
  void Err(std::string_view text) override { err.append(text); }
};

}  // namespace vorlix::fakes
