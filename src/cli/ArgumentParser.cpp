#include "cli/ArgumentParser.h"

#include <algorithm>

namespace quolix::cli {

namespace {

std::string Display(const OptionSpec& spec) {
    return "--" + std::string(spec.name);
}

}  // namespace

const OptionSpec* ArgumentParser::FindLong(std::string_view name) const {
    const auto found = std::find_if(specs_.begin(), specs_.end(),
                                    [name](const OptionSpec& spec) { return spec.name == name; });
    return found != specs_.end() ? &*found : nullptr;
}

const OptionSpec* ArgumentParser::FindShort(char name) const {
    const auto found = std::find_if(specs_.begin(), specs_.end(), [name](const OptionSpec& spec) {
        return spec.shortName != 0 && spec.shortName == name;
    });
    return found != specs_.end() ? &*found : nullptr;
}

Status ArgumentParser::Take(const OptionSpec& spec, std::optional<std::string> value) {
    if (!spec.repeatable && Has(spec.name)) {
        return Status::Failure("オプション " + Display(spec) + " は一度だけ指定できます。");
    }
    given_.emplace_back(std::string(spec.name), value.value_or(std::string()));
    return Status{};
}

Status ArgumentParser::Parse(const std::vector<std::string>& args) {
    given_.clear();
    positionals_.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            positionals_.insert(positionals_.end(), args.begin() + static_cast<long>(i) + 1,
                                args.end());
            return Status{};
        }
        if (arg.size() < 2 || arg[0] != '-') {
            positionals_.push_back(arg);
            continue;
        }
        const OptionSpec* spec = nullptr;
        std::optional<std::string> attached;
        if (arg[1] == '-') {
            const std::size_t equals = arg.find('=');
            const std::string name =
                arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            spec = FindLong(name);
            if (spec == nullptr) {
                return Status::Failure("不明なオプションです: --" + name);
            }
            if (equals != std::string::npos) {
                attached = arg.substr(equals + 1);
            }
        } else {
            spec = FindShort(arg[1]);
            if (spec == nullptr) {
                return Status::Failure("不明なオプションです: " + arg.substr(0, 2));
            }
            if (arg.size() > 2) {
                if (!spec->takesValue) {
                    return Status::Failure("不明なオプションです: " + arg);
                }
                attached = arg.substr(2);
            }
        }
        if (!spec->takesValue) {
            if (attached) {
                return Status::Failure("オプション " + Display(*spec) + " は値をとりません。");
            }
            if (Status taken = Take(*spec, std::nullopt); !taken.ok) {
                return taken;
            }
            continue;
        }
        if (!attached) {
            if (i + 1 >= args.size()) {
                return Status::Failure("オプション " + Display(*spec) + " には値が必要です。");
            }
            attached = args[++i];
        }
        if (Status taken = Take(*spec, std::move(attached)); !taken.ok) {
            return taken;
        }
    }
    return Status{};
}

bool ArgumentParser::Has(std::string_view name) const {
    return std::any_of(given_.begin(), given_.end(),
                       [name](const auto& option) { return option.first == name; });
}

std::vector<std::string> ArgumentParser::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [option, value] : given_) {
        if (option == name) {
            values.push_back(value);
        }
    }
    return values;
}

std::optional<std::string> ArgumentParser::Value(std::string_view name) const {
    for (auto it = given_.rbegin(); it != given_.rend(); ++it) {
        if (it->first == name) {
            return it->second;
        }
    }
    return std::nullopt;
}

}  // namespace quolix::cli
