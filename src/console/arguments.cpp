#include "console/arguments.h"

namespace vorlix::console {

namespace {

const OptionSpec* Find(std::span<const OptionSpec> allowed, std::string_view name) {
  for (const OptionSpec& option : allowed) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

Arguments::Arguments(std::span<const std::string> words, std::span<const OptionSpec> allowed) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() < 2 || word[0] != '-' || word[1] != '-') {
      positional_.push_back(word);
      continue;
    }
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const OptionSpec* option = Find(allowed, name);
    if (!option) throw UsageError("unknown option " + Quoted(name));
    if (Has(name)) throw UsageError(Quoted(name) + " is given twice");
    if (!option->takesValue) {
      if (equals != std::string::npos) throw UsageError(Quoted(name) + " takes no value");
      flags_.insert(name);
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = word.substr(equals + 1);
    } else if (i + 1 < words.size() && words[i + 1].rfind("--", 0) != 0) {
      value = words[++i];
    }
    if (value.empty()) throw UsageError(Quoted(name) + " needs a value");
    values_.emplace(name, value);
  }
}

bool Arguments::Has(std::string_view option) const {
  return flags_.contains(option) || values_.contains(option);
}

std::optional<std::string> Arguments::Value(std::string_view option) const {
  const auto found = values_.find(option);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

bool IsHelpWord(std::string_view word) { return word == "--help" || word == "-h" || word == "/?"; }

}  // namespace vorlix::console
