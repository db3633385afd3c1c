#include "util/json.h"

#include <charconv>
#include <cstdio>

#include "util/utf.h"

namespace ombrisk::json {

Value Value::boolean(bool value) {
  Value v;
  v.type_ = Type::Boolean;
  v.boolean_ = value;
  return v;
}

Value Value::number(std::int64_t value) {
  Value v;
  v.type_ = Type::Number;
  v.text_ = std::to_string(value);
  return v;
}

Value Value::numberAsWritten(std::string text) {
  Value v;
  v.type_ = Type::Number;
  v.text_ = std::move(text);
  return v;
}

Value Value::string(std::string text) {
  Value v;
  v.type_ = Type::String;
  v.text_ = std::move(text);
  return v;
}

Value Value::array() {
  Value v;
  v.type_ = Type::Array;
  return v;
}

Value Value::object() {
  Value v;
  v.type_ = Type::Object;
  return v;
}

std::optional<std::int64_t> Value::integer() const {
  if (type_ != Type::Number || text_.find_first_of(".eE") != std::string::npos) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), value);
  if (error != std::errc() || end != text_.data() + text_.size()) return std::nullopt;
  return value;
}

const Value* Value::find(std::string_view name) const {
  for (const Member& member : members_)
    if (member.name == name) return &member.value;
  return nullptr;
}

Value& Value::push(Value item) {
  items_.push_back(std::move(item));
  return items_.back();
}

Value& Value::add(std::string name, Value value) {
  members_.push_back({std::move(name), std::move(value)});
  return members_.back().value;
}

bool Value::operator==(const Value& other) const {
  return type_ == other.type_ && boolean_ == other.boolean_ && text_ == other.text_ && items_ == other.items_ &&
         members_ == other.members_;
}

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class Parser {
 public:
  Parser(std::string_view text, const Limits& limits) : text_(text), limits_(limits) {}

  ParseResult run() {
    ParseResult result;
    if (text_.size() > limits_.maxBytes) {
      fail(0, "the document is " + std::to_string(text_.size()) + " bytes long; at most " +
                  std::to_string(limits_.maxBytes) + " are read");
    } else if (text_.size() >= 2 && ((text_[0] == '\xFF' && text_[1] == '\xFE') || (text_[0] == '\xFE' && text_[1] == '\xFF'))) {
      fail(0, "the document is UTF-16 text; save it as UTF-8");
    } else if (!isValidUtf8(text_)) {
      fail(firstInvalidUtf8(), "the document is not valid UTF-8 text");
    } else {
      if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
      skipBlanks();
      Value value;
      if (parseValue(value, 0)) {
        skipBlanks();
        if (pos_ < text_.size()) fail(pos_, "text after the end of the document");
        else result.value = std::move(value);
      }
    }
    if (!result.value) result.error = error_;
    return result;
  }

 private:
  bool fail(std::size_t offset, std::string message) {
    if (error_.message.empty()) {
      error_.offset = offset;
      error_.message = std::move(message);
      std::size_t lineStart = 0;
      for (std::size_t i = 0; i < offset && i < text_.size(); ++i)
        if (text_[i] == '\n') ++error_.line, lineStart = i + 1;
      for (std::size_t i = lineStart; i < offset && i < text_.size(); ++i)
        if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++error_.column;
    }
    return false;
  }

  std::size_t firstInvalidUtf8() const {
    std::size_t good = 0;
    for (std::size_t end = 1; end <= text_.size(); ++end)
      if (isValidUtf8(text_.substr(good, end - good))) good = end;
      else if (end - good >= 4) break;
    return good;
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }

  void skipBlanks() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++pos_;
  }

  bool countValue() {
    if (++values_ > limits_.maxValues)
      return fail(pos_, "the document has more than " + std::to_string(limits_.maxValues) + " values");
    return true;
  }

  bool literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return fail(pos_, "not a JSON value");
    pos_ += word.size();
    return true;
  }

  bool parseValue(Value& out, std::size_t depth) {
    if (!countValue()) return false;
    switch (peek()) {
      case '{': return parseObject(out, depth + 1);
      case '[': return parseArray(out, depth + 1);
      case '"': {
        std::string text;
        if (!parseString(text)) return false;
        out = Value::string(std::move(text));
        return true;
      }
      case 't': out = Value::boolean(true); return literal("true");
      case 'f': out = Value::boolean(false); return literal("false");
      case 'n': out = Value(); return literal("null");
      default: return parseNumber(out);
    }
  }

  bool enter(std::size_t depth) {
    if (depth > limits_.maxDepth)
      return fail(pos_, "arrays and objects are nested deeper than " + std::to_string(limits_.maxDepth) + " levels");
    ++pos_;  // the opening bracket
    skipBlanks();
    return true;
  }

  bool parseArray(Value& out, std::size_t depth) {
    if (!enter(depth)) return false;
    out = Value::array();
    if (peek() == ']') return ++pos_, true;
    for (;;) {
      Value item;
      if (!parseValue(item, depth)) return false;
      out.push(std::move(item));
      skipBlanks();
      if (peek() == ',') {
        ++pos_;
        skipBlanks();
      } else if (peek() == ']') {
        return ++pos_, true;
      } else {
        return fail(pos_, "expected , or ] in an array");
      }
    }
  }

  bool parseObject(Value& out, std::size_t depth) {
    if (!enter(depth)) return false;
    out = Value::object();
    if (peek() == '}') return ++pos_, true;
    for (;;) {
      if (peek() != '"') return fail(pos_, "expected a member name in double quotes");
      const std::size_t nameAt = pos_;
      std::string name;
      if (!parseString(name)) return false;
      if (out.find(name)) return fail(nameAt, "the member name " + quoted(name) + " appears twice");
      skipBlanks();
      if (peek() != ':') return fail(pos_, "expected : after a member name");
      ++pos_;
      skipBlanks();
      Value value;
      if (!parseValue(value, depth)) return false;
      out.add(std::move(name), std::move(value));
      skipBlanks();
      if (peek() == ',') {
        ++pos_;
        skipBlanks();
      } else if (peek() == '}') {
        return ++pos_, true;
      } else {
        return fail(pos_, "expected , or } in an object");
      }
    }
  }

  bool hex4(std::size_t at, char32_t& code) {
    if (text_.size() - at < 4) return fail(at, "\\u needs four hexadecimal digits");
    code = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
      const char c = text_[i];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) return fail(i, "\\u needs four hexadecimal digits");
      code = code << 4 | static_cast<char32_t>(digit);
    }
    return true;
  }

  bool parseString(std::string& out) {
    ++pos_;  // the opening quote
    for (;;) {
      if (atEnd()) return fail(pos_, "a text is not closed with \"");
      const char c = text_[pos_];
      if (c == '"') return ++pos_, true;
      if (static_cast<unsigned char>(c) < 0x20) return fail(pos_, "a control character inside a text; write it as an escape");
      if (c != '\\') {
        out += c;
        ++pos_;
        continue;
      }
      const std::size_t escapeAt = pos_;
      if (++pos_ >= text_.size()) return fail(escapeAt, "a text ends inside an escape");
      switch (text_[pos_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          char32_t code;
          if (!hex4(pos_, code)) return false;
          pos_ += 4;
          if (code >= 0xDC00 && code <= 0xDFFF) return fail(escapeAt, "a lone low surrogate escape");
          if (code >= 0xD800 && code <= 0xDBFF) {
            char32_t low;
            if (text_.substr(pos_, 2) != "\\u" || !hex4(pos_ + 2, low) || low < 0xDC00 || low > 0xDFFF)
              return fail(escapeAt, "a high surrogate escape without its low surrogate");
            pos_ += 6;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          appendUtf8(out, code);
          break;
        }
        default: return fail(escapeAt, "an unknown escape in a text");
      }
    }
  }

  bool parseNumber(Value& out) {
    const std::size_t start = pos_;
    const auto digits = [&] {
      const std::size_t from = pos_;
      while (!atEnd() && peek() >= '0' && peek() <= '9') ++pos_;
      return pos_ > from;
    };
    if (peek() == '-') ++pos_;
    if (peek() == '0') {
      ++pos_;
    } else if (!digits()) {
      return fail(start, "not a JSON value");
    }
    if (peek() == '.') {
      ++pos_;
      if (!digits()) return fail(pos_, "a number needs digits after its decimal point");
    }
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (peek() == '+' || peek() == '-') ++pos_;
      if (!digits()) return fail(pos_, "a number needs digits in its exponent");
    }
    out = Value::numberAsWritten(std::string(text_.substr(start, pos_ - start)));
    return true;
  }

  std::string_view text_;
  const Limits& limits_;
  std::size_t pos_ = 0;
  std::size_t values_ = 0;
  ParseError error_;
};

bool isPlain(const Value& value) { return !value.isArray() && !value.isObject(); }

void writeValue(const Value& value, std::size_t indent, std::string& out);

// The value on one line, when it is a container of plain values (or empty) whose line,
// indented, fits within kLineWidth.
constexpr std::size_t kLineWidth = 100;

std::optional<std::string> oneLine(const Value& value, std::size_t indent) {
  std::string line;
  if (value.isArray()) {
    for (const Value& item : value.items()) {
      if (!isPlain(item)) return std::nullopt;
      line += (line.empty() ? "" : ", ");
      writeValue(item, 0, line);
    }
    line = "[" + line + "]";
  } else {
    for (const Value::Member& member : value.members()) {
      if (!isPlain(member.value)) return std::nullopt;
      line += (line.empty() ? "" : ", ") + quoted(member.name) + ": ";
      writeValue(member.value, 0, line);
    }
    line = "{" + line + "}";
  }
  if (line.size() + indent > kLineWidth && line.size() > 2) return std::nullopt;
  return line;
}

void writeValue(const Value& value, std::size_t indent, std::string& out) {
  switch (value.type()) {
    case Value::Type::Null: out += "null"; return;
    case Value::Type::Boolean: out += value.asBoolean() ? "true" : "false"; return;
    case Value::Type::Number: out += value.text(); return;
    case Value::Type::String: out += quoted(value.text()); return;
    case Value::Type::Array:
    case Value::Type::Object: break;
  }
  if (const auto line = oneLine(value, indent)) {
    out += *line;
    return;
  }
  const std::string inner(indent + 2, ' ');
  out += value.isArray() ? "[\n" : "{\n";
  if (value.isArray()) {
    for (std::size_t i = 0; i < value.items().size(); ++i) {
      out += inner;
      writeValue(value.items()[i], indent + 2, out);
      out += i + 1 < value.items().size() ? ",\n" : "\n";
    }
  } else {
    for (std::size_t i = 0; i < value.members().size(); ++i) {
      const Value::Member& member = value.members()[i];
      out += inner + quoted(member.name) + ": ";
      writeValue(member.value, indent + 2, out);
      out += i + 1 < value.members().size() ? ",\n" : "\n";
    }
  }
  out += std::string(indent, ' ') + (value.isArray() ? "]" : "}");
}

}  // namespace

ParseResult parse(std::string_view document, const Limits& limits) { return Parser(document, limits).run(); }

std::string write(const Value& value) {
  std::string out;
  writeValue(value, 0, out);
  return out + "\n";
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace ombrisk::json
