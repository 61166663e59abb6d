#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quolix::cli {

// Builds one JSON text. Separators are ", " and ": ", as common JSON tools
// print by default, so output can be compared with theirs byte for byte.
// Strings must be UTF-8; they are escaped as JSON requires and otherwise
// written as they are.
class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Inside an object: the name of the next value.
    void Key(std::string_view utf8);
    void String(std::string_view utf8);
    void Int(int64_t value);
    void Bool(bool value);
    void Null();

    const std::string& Text() const { return text_; }

    // A JSON string literal: quotes, backslashes and control characters
    // escaped (the short forms where JSON has one, else \u00xx).
    static std::string Quote(std::string_view utf8);

  private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string text_;
    // One entry per open object or array: whether it holds nothing yet.
    std::vector<bool> empty_;
    bool afterKey_ = false;
};

}  // namespace quolix::cli
