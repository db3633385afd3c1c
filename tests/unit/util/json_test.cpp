#include <gtest/gtest.h>

#include "util/json.h"
#include "util/utf.h"

namespace ombrisk::json {
namespace {

TEST(Json, ReadsEveryKindOfValueKeepingMemberOrder) {
  const auto result = parse("\xEF\xBB\xBF{\"z\": [1, -2, 0, 3.5e2, true, false, null],\n"
                            " \"a\": {\"text\": \"q\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\ud83d\\ude00\u5DE6\"}, \"e\": {}, \"f\": []}");
  ASSERT_TRUE(result.value) << result.error.message;
  const Value& v = *result.value;
  ASSERT_EQ(v.members().size(), 4u);
  EXPECT_EQ(v.members()[0].name, "z");
  EXPECT_EQ(v.members()[1].name, "a");
  const auto& items = v.find("z")->items();
  EXPECT_EQ(items[0].integer(), 1);
  EXPECT_EQ(items[1].integer(), -2);
  EXPECT_EQ(items[3].integer(), std::nullopt);
  EXPECT_EQ(items[3].text(), "3.5e2");
  EXPECT_TRUE(items[4].asBoolean());
  EXPECT_TRUE(items[6].isNull());
  EXPECT_EQ(v.find("a")->find("text")->text(), "q\"\\/\b\f\n\r\t\u00e9\U0001F600\u5DE6");
  EXPECT_EQ(v.find("missing"), nullptr);
}

TEST(Json, IntegersAreWholeNumbersWithinSixtyFourBits) {
  for (const auto& [text, expected] : std::vector<std::pair<const char*, std::optional<std::int64_t>>>{
           {"0", 0}, {"-0", 0}, {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN},
           {"9223372036854775808", std::nullopt}, {"1.0", std::nullopt}, {"1e2", std::nullopt}}) {
    const auto result = parse(text);
    ASSERT_TRUE(result.value) << text;
    EXPECT_EQ(result.value->integer(), expected) << text;
  }
}

struct Refused {
  std::string document;
  std::size_t line, column;
  std::string message;  // a part of the message
};

TEST(Json, RefusesWhatIsNotStrictJsonAndSaysWhere) {
  const std::vector<Refused> cases{
      {"", 1, 1, "not a JSON value"},
      {"{\"a\": 1,}", 1, 9, "member name"},
      {"[1, 2,]", 1, 7, "not a JSON value"},
      {"// note\n{}", 1, 1, "not a JSON value"},
      {"{\"a\": 1}\n{\"b\": 2}", 2, 1, "after the end"},
      {"{\"a\": 1, \"a\": 2}", 1, 10, "appears twice"},
      {"[01]", 1, 3, "expected , or ]"},
      {"[1.]", 1, 4, "decimal point"},
      {"[NaN]", 1, 2, "not a JSON value"},
      {"[\"tab\there\"]", 1, 6, "control character"},
      {"[\"\\x41\"]", 1, 3, "unknown escape"},
      {"[\"\\ud800\"]", 1, 3, "high surrogate"},
      {"[\"\\udc00\"]", 1, 3, "lone low surrogate"},
      {"[\"\\u12G4\"]", 1, 7, "hexadecimal"},
      {"{\"a\"\n  1}", 2, 3, "expected :"},
      {"[\"open", 1, 7, "not closed"},
      {"[\"\xC0\xAF\"]", 1, 3, "not valid UTF-8"},
      {"[\"\xED\xA0\x80\"]", 1, 3, "not valid UTF-8"},
      {"[\"\xF4\x90\x80\x80\"]", 1, 3, "not valid UTF-8"},
      {"\n[\"\u5DE6\x80\"]", 2, 4, "not valid UTF-8"},
      {"[\xFF]", 1, 2, "not valid UTF-8"},
      {std::string("\xFF\xFE[\0]\0", 6), 1, 1, "UTF-16"},
  };
  for (const Refused& c : cases) {
    const auto result = parse(c.document);
    EXPECT_FALSE(result.value) << c.document;
    EXPECT_EQ(result.error.line, c.line) << c.document << ": " << result.error.message;
    EXPECT_EQ(result.error.column, c.column) << c.document << ": " << result.error.message;
    EXPECT_NE(result.error.message.find(c.message), std::string::npos) << c.document << ": " << result.error.message;
  }
}

TEST(Json, LimitsSizeDepthAndNumberOfValues) {
  const Limits limits{.maxBytes = 64, .maxDepth = 3, .maxValues = 5};
  EXPECT_TRUE(parse("[[[1]]]", limits).value);
  EXPECT_NE(parse("[[[[1]]]]", limits).error.message.find("deeper than 3"), std::string::npos);
  EXPECT_TRUE(parse("[1, 2, 3, 4]", limits).value);
  EXPECT_NE(parse("[1, 2, 3, 4, 5]", limits).error.message.find("more than 5 values"), std::string::npos);
  EXPECT_NE(parse("\"" + std::string(63, 'x') + "\"", limits).error.message.find("65 bytes"), std::string::npos);
  // The default depth limit holds against a document that would otherwise exhaust the stack.
  EXPECT_FALSE(parse(std::string(100000, '[')).value);
}

TEST(Json, WritesWhatReadsBackEqualWithShortListsOnOneLine) {
  Value root = Value::object();
  root.add("format", Value::string("test"));
  Value& list = root.add("short", Value::array());
  for (int i : {1, -2, 3}) list.push(Value::number(i));
  Value& nested = root.add("nested", Value::array());
  nested.push(Value::object()).add("text", Value::string("左键 \"quoted\"\n\x01"));
  nested.push(Value::object());
  root.add("flag", Value::boolean(false));
  root.add("nothing", Value());
  const std::string text = write(root);
  EXPECT_EQ(text,
            "{\n"
            "  \"format\": \"test\",\n"
            "  \"short\": [1, -2, 3],\n"
            "  \"nested\": [\n"
            "    {\"text\": \"左键 \\\"quoted\\\"\\n\\u0001\"},\n"
            "    {}\n"
            "  ],\n"
            "  \"flag\": false,\n"
            "  \"nothing\": null\n"
            "}\n");
  const auto back = parse(text);
  ASSERT_TRUE(back.value) << back.error.message;
  EXPECT_EQ(*back.value, root);
}

TEST(Utf8, StrictCheck) {
  for (const auto& [text, valid] : std::vector<std::pair<std::string, bool>>{
           {"", true}, {"plain", true}, {"\u5DE6\u952E", true}, {"\U0010FFFF", true},
           {"\xC2", false}, {"\x80", false}, {"\xC1\xBF", false}, {"\xE0\x9F\xBF", false},
           {"\xED\xBF\xBF", false}, {"\xF4\x90\x80\x80", false}, {"\xF8\x88\x80\x80\x80", false}}) {
    EXPECT_EQ(isValidUtf8(text), valid) << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace ombrisk::json
