#include "summary/json_reader.h"

#include <cstdint>
#include <cstdlib>

namespace vorlix::summary {

JsonValue JsonValue::Bool(bool value) {
  JsonValue v;
  v.kind_ = Kind::Bool;
  v.bool_ = value;
  return v;
}

JsonValue JsonValue::Number(double value) {
  JsonValue v;
  v.kind_ = Kind::Number;
  v.number_ = value;
  return v;
}

JsonValue JsonValue::String(std::string value) {
  JsonValue v;
  v.kind_ = Kind::String;
  v.text_ = std::move(value);
  return v;
}

JsonValue JsonValue::Array(std::vector<JsonValue> items) {
  JsonValue v;
  v.kind_ = Kind::Array;
  v.items_ = std::move(items);
  return v;
}

JsonValue JsonValue::Object(Members members) {
  JsonValue v;
  v.kind_ = Kind::Object;
  v.members_ = std::move(members);
  return v;
}

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const auto& [key, value] : members_) {
    if (key == name) return &value;
  }
  return nullptr;
}

namespace {

constexpr int kMaxDepth = 64;

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  JsonValue Document() {
    JsonValue value = Value(0);
    SkipSpace();
    if (pos_ != text_.size()) Fail("text after the JSON value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw JsonError(what, pos_); }

  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }

  bool Take(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void Expect(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) Fail("unexpected character");
    pos_ += word.size();
  }

  JsonValue Value(int depth) {
    if (depth > kMaxDepth) Fail("nesting too deep");
    SkipSpace();
    if (pos_ >= text_.size()) Fail("unexpected end");
    switch (text_[pos_]) {
      case '{':
        return ObjectValue(depth);
      case '[':
        return ArrayValue(depth);
      case '"':
        return JsonValue::String(StringValue());
      case 't':
        Expect("true");
        return JsonValue::Bool(true);
      case 'f':
        Expect("false");
        return JsonValue::Bool(false);
      case 'n':
        Expect("null");
        return JsonValue();
      default:
        return NumberValue();
    }
  }

  JsonValue ObjectValue(int depth) {
    ++pos_;
    JsonValue::Members members;
    SkipSpace();
    if (Take('}')) return JsonValue::Object(std::move(members));
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a member name");
      std::string name = StringValue();
      SkipSpace();
      if (!Take(':')) Fail("expected ':'");
      JsonValue value = Value(depth + 1);
      members.emplace_back(std::move(name), std::move(value));
      SkipSpace();
      if (Take('}')) return JsonValue::Object(std::move(members));
      if (!Take(',')) Fail("expected ',' or '}'");
    }
  }

  JsonValue ArrayValue(int depth) {
    ++pos_;
    std::vector<JsonValue> items;
    SkipSpace();
    if (Take(']')) return JsonValue::Array(std::move(items));
    for (;;) {
      items.push_back(Value(depth + 1));
      SkipSpace();
      if (Take(']')) return JsonValue::Array(std::move(items));
      if (!Take(',')) Fail("expected ',' or ']'");
    }
  }

  std::uint32_t Hex4() {
    if (text_.size() - pos_ < 4) Fail("short \\u escape");
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      code <<= 4;
      if (c >= '0' && c <= '9') {
        code |= static_cast<std::uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        code |= static_cast<std::uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        code |= static_cast<std::uint32_t>(c - 'A' + 10);
      } else {
        Fail("bad \\u escape");
      }
    }
    return code;
  }

  std::string StringValue() {
    ++pos_;
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          std::uint32_t code = Hex4();
          if (code >= 0xD800 && code <= 0xDBFF) {
            if (text_.substr(pos_, 2) != "\\u") Fail("lone surrogate");
            pos_ += 2;
            const std::uint32_t low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("lone surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            Fail("lone surrogate");
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          Fail("bad escape");
      }
    }
  }

  JsonValue NumberValue() {
    const std::size_t start = pos_;
    Take('-');
    const auto digits = [this] {
      const std::size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (!digits()) Fail("unexpected character");
    if (Take('.') && !digits()) Fail("bad number");
    if (Take('e') || Take('E')) {
      if (!Take('+')) Take('-');
      if (!digits()) Fail("bad number");
    }
    const std::string number(text_.substr(start, pos_ - start));
    return JsonValue::Number(std::strtod(number.c_str(), nullptr));
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

JsonValue ParseJson(std::string_view text) { return Reader(text).Document(); }

}  // namespace vorlix::summary
