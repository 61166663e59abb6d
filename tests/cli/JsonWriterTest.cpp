#include "cli/JsonWriter.h"

#include <string>

#include <gtest/gtest.h>

namespace quolix::cli {
namespace {

struct QuoteCase {
    std::string input;
    std::string quoted;
};

class JsonQuote : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(JsonQuote, EscapesWhatJsonRequires) {
    EXPECT_EQ(JsonWriter::Quote(GetParam().input), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonQuote,
    ::testing::Values(QuoteCase{"", "\"\""}, QuoteCase{"plain", "\"plain\""},
                      QuoteCase{"say \"hi\"", "\"say \\\"hi\\\"\""},
                      QuoteCase{"C:\\dir", "\"C:\\\\dir\""},
                      QuoteCase{"a\nb\rc\td\be\ff", "\"a\\nb\\rc\\td\\be\\ff\""},
                      QuoteCase{std::string("nul\0x", 5), "\"nul\\u0000x\""},
                      QuoteCase{"\x01\x1f", "\"\\u0001\\u001f\""},
                      // DEL and everything from 0x80 up (UTF-8) pass unchanged.
                      QuoteCase{"\x7f", "\"\x7f\""}, QuoteCase{"周波数 ①", "\"周波数 ①\""},
                      QuoteCase{"</script>", "\"</script>\""}));

TEST(JsonWriterTest, SeparatesMembersAndElementsLikeCommonTools) {
    JsonWriter json;
    json.BeginObject();
    json.Key("a");
    json.Int(-1);
    json.Key("b");
    json.BeginArray();
    json.BeginArray();
    json.Int(0);
    json.Int(2147483647);
    json.EndArray();
    json.BeginArray();
    json.EndArray();
    json.EndArray();
    json.Key("c");
    json.Bool(true);
    json.Key("d");
    json.Bool(false);
    json.Key("e");
    json.BeginObject();
    json.EndObject();
    json.Key("f");
    json.String("x");
    json.EndObject();
    EXPECT_EQ(json.Text(),
              R"({"a": -1, "b": [[0, 2147483647], []], "c": true, "d": false, "e": {}, "f": "x"})");
}

TEST(JsonWriterTest, KeysAreEscapedToo) {
    JsonWriter json;
    json.BeginObject();
    json.Key("q\"k");
    json.Int(1);
    json.EndObject();
    EXPECT_EQ(json.Text(), R"({"q\"k": 1})");
}

}  // namespace
}  // namespace quolix::cli
