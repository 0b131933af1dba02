#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlix::summary {

// A text that is not JSON, with the byte offset where reading stopped.
class JsonError : public std::runtime_error {
 public:
  JsonError(const std::string& what, std::size_t offset)
      : std::runtime_error(what + " at byte " + std::to_string(offset)), offset_(offset) {}
  std::size_t offset() const noexcept { return offset_; }

 private:
  std::size_t offset_;
};

// One JSON value; strings are UTF-8, numbers are kept as doubles.
class JsonValue {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };
  using Members = std::vector<std::pair<std::string, JsonValue>>;

  JsonValue() = default;
  static JsonValue Bool(bool value);
  static JsonValue Number(double value);
  static JsonValue String(std::string value);
  static JsonValue Array(std::vector<JsonValue> items);
  static JsonValue Object(Members members);

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool IsString() const { return kind_ == Kind::String; }
  bool IsNumber() const { return kind_ == Kind::Number; }
  bool IsArray() const { return kind_ == Kind::Array; }
  bool IsObject() const { return kind_ == Kind::Object; }

  bool boolean() const { return bool_; }
  double number() const { return number_; }
  const std::string& text() const { return text_; }
  const std::vector<JsonValue>& items() const { return items_; }
  const Members& members() const { return members_; }
  // The first member of that name, or null when this is no object or has none.
  const JsonValue* Find(std::string_view name) const;

 private:
  Kind kind_ = Kind::Null;
  bool bool_ = false;
  double number_ = 0;
  std::string text_;
  std::vector<JsonValue> items_;
  Members members_;
};

// Reads one whole JSON text (an optional UTF-8 byte order mark, one value, white space). Throws
// JsonError. Nesting is limited so that a hostile file cannot exhaust the stack.
JsonValue ParseJson(std::string_view text);

}  // namespace vorlix::summary
