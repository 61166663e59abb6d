#include "counter-sim/ReplyScript.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace quolix {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

bool ReplyScript::DecodeLine(std::string_view line, std::string& bytes, std::string& error) {
    bytes.clear();
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            bytes.push_back(line[i]);
            continue;
        }
        if (i + 1 >= line.size()) {
            error = "backslash at the end of the line";
            return false;
        }
        const char kind = line[++i];
        switch (kind) {
            case 'r':
                bytes.push_back('\r');
                break;
            case 'n':
                bytes.push_back('\n');
                break;
            case 't':
                bytes.push_back('\t');
                break;
            case '\\':
                bytes.push_back('\\');
                break;
            case 'x': {
                const int high = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
                const int low = i + 2 < line.size() ? HexValue(line[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    error = "\\x needs two hex digits";
                    return false;
                }
                bytes.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                break;
            }
            default:
                error = std::string("unknown escape \\") + kind;
                return false;
        }
    }
    return true;
}

bool ReplyScript::Load(const std::string& path, std::string& error) {
    replies_.clear();
    next_ = 0;
    std::error_code ignored;
    std::ifstream file(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, ignored) || !file) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (!Parse(content.str(), error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool ReplyScript::Parse(std::string_view text, std::string& error) {
    replies_.clear();
    next_ = 0;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        // A file saved with CR LF line breaks means the same as one with LF;
        // a carriage return meant for the wire is written \r.
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::string bytes;
        if (!DecodeLine(line, bytes, error)) {
            error = "line " + std::to_string(lineNumber) + ": " + error;
            replies_.clear();
            return false;
        }
        replies_.push_back(std::move(bytes));
    }
    return true;
}

const std::string* ReplyScript::Next() {
    if (next_ >= replies_.size()) {
        return nullptr;
    }
    return &replies_[next_++];
}

}  // namespace quolix
