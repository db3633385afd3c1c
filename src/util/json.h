// A small JSON reader and writer for documents that people keep and edit (ombriskctl's
// profiles), safe with any input.
//
// The reader takes RFC 8259 JSON and nothing more (no comments, no trailing commas, one value)
// and refuses, saying where (line and column): a document past its size limit, nesting past
// its depth limit, more values than its limit, text that is not UTF-8, lone surrogates and
// duplicate member names. A leading UTF-8 byte-order mark, which some editors write, is
// passed over. Members keep their document order.
//
// The writer indents by two blanks and writes every text as UTF-8 with only the escapes JSON
// requires; an array or object of plain values that fits a line stays on one line. What it
// writes reads back to an equal value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk::json {

class Value {
 public:
  enum class Type { Null, Boolean, Number, String, Array, Object };
  struct Member;

  Value() = default;
  static Value boolean(bool value);
  static Value number(std::int64_t value);
  // A number as the document wrote it (text in JSON's number grammar), as the reader keeps it.
  static Value numberAsWritten(std::string text);
  static Value string(std::string text);
  static Value array();
  static Value object();

  Type type() const { return type_; }
  bool isNull() const { return type_ == Type::Null; }
  bool isBoolean() const { return type_ == Type::Boolean; }
  bool isNumber() const { return type_ == Type::Number; }
  bool isString() const { return type_ == Type::String; }
  bool isArray() const { return type_ == Type::Array; }
  bool isObject() const { return type_ == Type::Object; }

  bool asBoolean() const { return boolean_; }
  // A number's text as written; a string's text (UTF-8, escapes resolved).
  const std::string& text() const { return text_; }
  // A number without fraction or exponent that fits 64 bits; nothing for any other value.
  std::optional<std::int64_t> integer() const;

  const std::vector<Value>& items() const { return items_; }
  const std::vector<Member>& members() const { return members_; }
  // The member of that name, or null when the object has none.
  const Value* find(std::string_view name) const;

  // Building: an item at the end of an array, a member at the end of an object.
  Value& push(Value item);
  Value& add(std::string name, Value value);

  bool operator==(const Value& other) const;

 private:
  Type type_ = Type::Null;
  bool boolean_ = false;
  std::string text_;
  std::vector<Value> items_;
  std::vector<Member> members_;
};

struct Value::Member {
  std::string name;
  Value value;
  bool operator==(const Member&) const = default;
};

struct Limits {
  std::size_t maxBytes = 1 << 20;   // the whole document
  std::size_t maxDepth = 32;        // arrays and objects inside each other
  std::size_t maxValues = 1 << 16;  // values of every kind, containers included
};

struct ParseError {
  std::size_t offset = 0;  // bytes from the start of the document
  std::size_t line = 1;    // 1-based
  std::size_t column = 1;  // 1-based, in characters
  std::string message;
};

struct ParseResult {
  std::optional<Value> value;  // nothing when the document was refused
  ParseError error;
};

ParseResult parse(std::string_view document, const Limits& limits = {});

// The document text of value, ending with a line break.
std::string write(const Value& value);

// A text as a JSON string, quotes included.
std::string quoted(std::string_view text);

}  // namespace ombrisk::json
