#pragma once

#include "platform/linux/settings/SettingsError.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::linuxbackend {

// Nested objects keep the order their members were written in.
using Json = nlohmann::ordered_json;

// A member of the object a settings text holds, with where its key and its value start.
struct JsonMember {
    std::string key;
    Json value;
    TextPosition keyPosition;
    TextPosition valuePosition;
};

// Reads a text holding one JSON object, keeping track of lines and columns so that whatever is wrong
// with it, its syntax or a member's value, can be shown where it is.
class JsonObjectReader {
public:
    explicit JsonObjectReader(std::string_view text) : text_(text) {}

    // The object's members in the order of the text; a text of white space alone holds none. Throws
    // SettingsError where the text stops being one JSON object.
    std::vector<JsonMember> members();

private:
    JsonMember member(int depth);
    Json value(int depth);
    Json object(int depth);
    Json array(int depth);
    template <class ReadItem> void items(char close, ReadItem readItem);
    Json literal(std::string_view word, Json meaning);
    Json number();
    void digits();
    std::string string();
    void escape(std::string& into);
    std::uint32_t codePoint();
    std::uint32_t hexQuad();

    void skipSpace();
    bool atEnd() const { return offset_ == text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[offset_]; }
    bool consume(char c);
    void expect(char c, const std::string& what);
    void advance();
    [[noreturn]] void fail(const std::string& what) const;

    std::string_view text_;
    std::size_t offset_ = 0;
    TextPosition position_;
};

}  // namespace veltrane::linuxbackend
