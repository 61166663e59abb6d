#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Status.h"

namespace quolix::cli {

// One option a command accepts: "--name", optionally also "-x".
struct OptionSpec {
    std::string_view name;  // without the leading "--"
    char shortName = 0;     // 0: no short form
    bool takesValue = false;
    bool repeatable = false;
};

// Splits a command's arguments into options and positional arguments.
// Accepted forms: "--name value", "--name=value", "-x value", "-xvalue"; a
// lone "-" is positional, and "--" makes every later argument positional.
class ArgumentParser {
  public:
    explicit ArgumentParser(std::vector<OptionSpec> specs) : specs_(std::move(specs)) {}

    // Fails with a one-line reason (Japanese) on an unknown option, a missing
    // or unexpected value, or a repeated option that may appear once.
    Status Parse(const std::vector<std::string>& args);

    bool Has(std::string_view name) const;
    // Every value given for the option, in order.
    std::vector<std::string> Values(std::string_view name) const;
    std::optional<std::string> Value(std::string_view name) const;
    const std::vector<std::string>& Positionals() const { return positionals_; }

  private:
    const OptionSpec* FindLong(std::string_view name) const;
    const OptionSpec* FindShort(char name) const;
    Status Take(const OptionSpec& spec, std::optional<std::string> value);

    std::vector<OptionSpec> specs_;
    std::vector<std::pair<std::string, std::string>> given_;
    std::vector<std::string> positionals_;
};

}  // namespace quolix::cli
