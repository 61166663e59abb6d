#include "cli/ArgumentParser.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quolix::cli {
namespace {

ArgumentParser MakeParser() {
    return ArgumentParser({{"output", 'o', true, false},
                           {"json", 0, false, false},
                           {"comment", 0, true, true},
                           {"page", 'p', false, false}});
}

struct Accepted {
    std::vector<std::string> args;
    std::string output;  // empty: not given
    bool json;
    std::vector<std::string> comments;
    std::vector<std::string> positionals;
};

class ArgumentParserAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(ArgumentParserAccepts, SplitsOptionsAndPositionals) {
    const Accepted& c = GetParam();
    ArgumentParser parser = MakeParser();
    const Status parsed = parser.Parse(c.args);
    ASSERT_TRUE(parsed.ok) << parsed.message;
    EXPECT_EQ(parser.Value("output").value_or(""), c.output);
    EXPECT_EQ(parser.Has("json"), c.json);
    EXPECT_EQ(parser.Values("comment"), c.comments);
    EXPECT_EQ(parser.Positionals(), c.positionals);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArgumentParserAccepts,
    ::testing::Values(Accepted{{"a.qlx", "--output", "b.csv"}, "b.csv", false, {}, {"a.qlx"}},
                      Accepted{{"--output=b.csv", "a.qlx"}, "b.csv", false, {}, {"a.qlx"}},
                      Accepted{{"-o", "b.csv", "a.qlx"}, "b.csv", false, {}, {"a.qlx"}},
                      Accepted{{"-ob.csv", "a.qlx"}, "b.csv", false, {}, {"a.qlx"}},
                      // A value may itself look like an option.
                      Accepted{{"--comment", "--json", "x"}, "", false, {"--json"}, {"x"}},
                      Accepted{
                          {"--comment", "a", "--comment=b", "--json"}, "", true, {"a", "b"}, {}},
                      Accepted{{"--output="}, "", false, {}, {}},
                      // A lone dash is a name (standard input or output), "--" ends options.
                      Accepted{{"-", "--", "--json", "-o"}, "", false, {}, {"-", "--json", "-o"}}));

struct Refused {
    std::vector<std::string> args;
    std::string reasonPart;
};

class ArgumentParserRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(ArgumentParserRefuses, WithAReasonNamingTheOption) {
    const Refused& c = GetParam();
    ArgumentParser parser = MakeParser();
    const Status parsed = parser.Parse(c.args);
    EXPECT_FALSE(parsed.ok);
    EXPECT_NE(parsed.message.find(c.reasonPart), std::string::npos) << parsed.message;
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, ArgumentParserRefuses,
    ::testing::Values(Refused{{"--bogus"}, "--bogus"}, Refused{{"--bogus=1"}, "--bogus"},
                      Refused{{"-x"}, "-x"}, Refused{{"--output"}, "--output"},
                      Refused{{"-o"}, "--output"}, Refused{{"--json=yes"}, "--json"},
                      // A flag's short form cannot carry a value.
                      Refused{{"-pq"}, "-pq"}, Refused{{"-o", "a", "--output", "b"}, "--output"},
                      Refused{{"--json", "--json"}, "--json"}));

}  // namespace
}  // namespace quolix::cli
