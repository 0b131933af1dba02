#include "summary/encoding.h"

#include <utf8.h>

#include <array>
#include <cstdint>
#include <iterator>

#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

// Code page 1252 from 0x80 to 0x9F; the rest of the page is Latin-1. Unassigned bytes are kept
// as the control characters Windows maps them to.
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const std::uint32_t code = byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
    utf8::append(code, std::back_inserter(out));
  }
  return out;
}

std::optional<std::string> TextReportToUtf8(std::string_view bytes,
                                            std::optional<int> twinCodePage) {
  int codePage = twinCodePage.value_or(kTextReportCodePage);
  if (StartsWith(bytes, kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
    codePage = kUtf8CodePage;
  }
  // What claims to be UTF-8 and is not is read in the family's code page, not dropped.
  if (codePage == kUtf8CodePage)
    return utf8::is_valid(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
  if (codePage != kTextReportCodePage) return std::nullopt;
  return Cp1252ToUtf8(bytes);
}

}  // namespace vorlix::summary
