#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlix::testing {

// Just enough JSON for the tests to read what the program writes; strict about the syntax.
struct Json {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> fields;

  const Json& operator[](std::string_view name) const {
    for (const auto& [key, value] : fields) {
      if (key == name) return value;
    }
    throw std::runtime_error("no field " + std::string(name));
  }
};

class JsonReader {
 public:
  static Json Parse(std::string_view text) {
    JsonReader reader(text);
    Json value = reader.Value();
    reader.Blanks();
    if (reader.at_ != text.size()) reader.Fail("text after the value");
    return value;
  }

 private:
  explicit JsonReader(std::string_view text) : text_(text) {}

  [[noreturn]] void Fail(const std::string& why) {
    throw std::runtime_error(why + " at " + std::to_string(at_));
  }
  void Blanks() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
      ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected ") + c);
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  Json Value() {
    Json v;
    Blanks();
    if (Take('{')) {
      v.kind = Json::Object;
      if (Take('}')) return v;
      do {
        Blanks();
        std::string key = String();
        Expect(':');
        v.fields.emplace_back(std::move(key), Value());
      } while (Take(','));
      Expect('}');
    } else if (Take('[')) {
      v.kind = Json::Array;
      if (Take(']')) return v;
      do v.items.push_back(Value());
      while (Take(','));
      Expect(']');
    } else if (at_ < text_.size() && text_[at_] == '"') {
      v.kind = Json::String;
      v.text = String();
    } else if (Word("null")) {
    } else if (Word("true") || Word("false")) {
      v.kind = Json::Bool;
      v.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
    } else {
      const std::string rest(text_.substr(at_));
      char* end = nullptr;
      v.kind = Json::Number;
      v.number = std::strtod(rest.c_str(), &end);
      if (end == rest.c_str()) Fail("no value");
      at_ += static_cast<std::size_t>(end - rest.c_str());
    }
    return v;
  }
  std::string String() {
    if (!Take('"')) Fail("expected a string");
    std::string out;
    while (at_ < text_.size() && text_[at_] != '"') {
      const unsigned char c = static_cast<unsigned char>(text_[at_++]);
      if (c < 0x20) Fail("raw control character in a string");
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      const char e = at_ < text_.size() ? text_[at_++] : '\0';
      const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
      if (const auto i = simple.find(e); i != std::string_view::npos) {
        out += meaning[i];
      } else if (e == 'u' && at_ + 4 <= text_.size()) {
        const unsigned cp = std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16);
        at_ += 4;
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
      } else {
        Fail("bad escape");
      }
    }
    if (!Take('"')) Fail("unterminated string");
    return out;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace vorlix::testing
