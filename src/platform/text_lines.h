#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_system.h"

namespace vorlix::platform {

// A text held whole in memory, handed out line by line; CR LF or LF ends a line.
class TextLines final : public platform::TextReader {
 public:
  explicit TextLines(std::string content) : content_(std::move(content)) {}

  std::optional<std::string> ReadLine() override {
    if (position_ >= content_.size()) return std::nullopt;
    std::size_t end = content_.find('\n', position_);
    if (end == std::string::npos) end = content_.size();
    std::size_t stop = end;
    if (stop > position_ && content_[stop - 1] == '\r') --stop;
    std::string line = content_.substr(position_, stop - position_);
    position_ = end + 1;
    return line;
  }

 private:
  std::string content_;
  std::size_t position_ = 0;
};

}  // namespace vorlix::platform
