#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlix::console {

// The command line was not understood; the message is the one-line reason.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string_view name;  // "--out"
  bool takesValue = false;
};

// One command's arguments: words in order, and the options it allows.
class Arguments {
 public:
  // "--out FILE" and "--out=FILE" both give a value. Throws UsageError for an option the
  // command does not know, a missing value, or an option given twice.
  Arguments(std::span<const std::string> words, std::span<const OptionSpec> allowed);

  const std::vector<std::string>& Positional() const { return positional_; }
  bool Has(std::string_view option) const;
  std::optional<std::string> Value(std::string_view option) const;

 private:
  std::vector<std::string> positional_;
  std::set<std::string, std::less<>> flags_;
  std::map<std::string, std::string, std::less<>> values_;
};

// True for "--help", "-h" and "/?".
bool IsHelpWord(std::string_view word);

}  // namespace vorlix::console
