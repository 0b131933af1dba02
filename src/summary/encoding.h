#pragma once

#include <optional>
#include <string>
#include <string_view>

// The bytes of saved reports as the summary's UTF-8.
namespace vorlix::summary {

// The code page of saved text reports: the family's own, the one its programs are made for.
inline constexpr int kTextReportCodePage = 1252;
inline constexpr int kUtf8CodePage = 65001;
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The one rule for the bytes of a text report: UTF-8 when they open with its byte order mark;
// otherwise code page 1252 unless the report's JSON twin names another. Nullopt for a code page
// this reader has no table for (1252 and UTF-8 it has).
std::optional<std::string> TextReportToUtf8(std::string_view bytes,
                                            std::optional<int> twinCodePage);

// The text of code page 1252 in UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace vorlix::summary
