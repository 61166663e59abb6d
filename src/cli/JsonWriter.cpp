#include "cli/JsonWriter.h"

#include <cstdio>

namespace quolix::cli {

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) {
            text_ += ", ";
        }
        empty_.back() = false;
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    empty_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    if (!empty_.empty()) {
        empty_.pop_back();
    }
    text_ += bracket;
}

void JsonWriter::BeginObject() {
    Open('{');
}

void JsonWriter::EndObject() {
    Close('}');
}

void JsonWriter::BeginArray() {
    Open('[');
}

void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view utf8) {
    BeforeValue();
    text_ += Quote(utf8);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    text_ += Quote(utf8);
}

void JsonWriter::Int(int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

std::string JsonWriter::Quote(std::string_view utf8) {
    std::string quoted;
    quoted.reserve(utf8.size() + 2);
    quoted += '"';
    for (const char c : utf8) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\b':
                quoted += "\\b";
                break;
            case '\f':
                quoted += "\\f";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    quoted += escape;
                } else {
                    quoted += c;
                }
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace quolix::cli
