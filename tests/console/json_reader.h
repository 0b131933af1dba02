#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlix::testing {

// Strict JSON, as much as vorlixc writes: objects, arrays, strings, numbers and null. A string
// or number keeps its text; null has none.
struct Json {
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> fields;

  const Json& operator[](std::string_view name) const {
    for (const auto& [key, value] : fields) {
      if (key == name) return value;
    }
    throw std::runtime_error("no field " + std::string(name));
  }

  static Json Parse(std::string_view text) {
    Json value = Read(text);
    if (!Skip(text).empty()) throw std::runtime_error("text after the value");
    return value;
  }

 private:
  static std::string_view Skip(std::string_view& t) {
    while (!t.empty() && (t[0] == ' ' || t[0] == '\n' || t[0] == '\r')) t.remove_prefix(1);
    return t;
  }
  static char Take(std::string_view& t) {
    if (Skip(t).empty()) throw std::runtime_error("unexpected end");
    const char c = t[0];
    t.remove_prefix(1);
    return c;
  }
  static Json Read(std::string_view& t) {
    Json v;
    const char c = Take(t);
    if (c == '{' || c == '[') {
      const char close = c == '{' ? '}' : ']';
      if (Skip(t).starts_with(close)) return Take(t), v;
      do {
        if (c == '[') {
          v.items.push_back(Read(t));
          continue;
        }
        if (Take(t) != '"') throw std::runtime_error("a key must be a string");
        std::string key = String(t);
        if (Take(t) != ':') throw std::runtime_error("expected ':'");
        v.fields.emplace_back(std::move(key), Read(t));
      } while (Skip(t).starts_with(',') && Take(t));
      if (Take(t) != close) throw std::runtime_error("expected " + std::string(1, close));
    } else if (c == '"') {
      v.text = String(t);
    } else if (c == 'n' && t.starts_with("ull")) {
      t.remove_prefix(3);
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      v.text = c;
      while (!t.empty() && t[0] >= '0' && t[0] <= '9') v.text += Take(t);
    } else {
      throw std::runtime_error("no value at " + std::string(1, c));
    }
    return v;
  }
  // After the opening quote.
  static std::string String(std::string_view& t) {
    std::string out;
    for (char c; (c = t.empty() ? '\0' : t[0]) != '"'; t.remove_prefix(1)) {
      if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("control character");
      if (c == '\\') {
        t.remove_prefix(1);
        const std::size_t escape = std::string_view("\"\\/bfnrt").find(t.empty() ? '?' : t[0]);
        if (escape == std::string_view::npos) throw std::runtime_error("bad escape");
        c = "\"\\/\b\f\n\r\t"[escape];
      }
      out += c;
    }
    t.remove_prefix(1);
    return out;
  }
};

}  // namespace vorlix::testing
