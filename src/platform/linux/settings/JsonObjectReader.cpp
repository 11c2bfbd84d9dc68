#include "platform/linux/settings/JsonObjectReader.h"

#include "platform/linux/settings/NumberText.h"
#include "platform/linux/system/PrintableText.h"

#include <charconv>

namespace veltrane::linuxbackend {

namespace {

// No settings file nests values this deep; the limit only keeps a hostile file from exhausting the stack.
constexpr int maximumDepth = 64;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

void appendUtf8(std::string& into, std::uint32_t code)
{
    const auto byte = [&into](std::uint32_t bits) { into.push_back(static_cast<char>(bits)); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::vector<JsonMember> JsonObjectReader::members()
{
    skipSpace();
    if (atEnd()) {
        return {};
    }
    if (!consume('{')) {
        fail("the settings must be one JSON object, written between { and }");
    }
    std::vector<JsonMember> read;
    items('}', [&] { read.push_back(member(1)); });
    skipSpace();
    if (!atEnd()) {
        fail("unexpected text after the closing }");
    }
    return read;
}

// Reads the items of an object or an array, its opening character already read, up to its closing one.
template <class ReadItem> void JsonObjectReader::items(char close, ReadItem readItem)
{
    skipSpace();
    if (consume(close)) {
        return;
    }
    do {
        skipSpace();
        readItem();
        skipSpace();
    } while (consume(','));
    expect(close, std::string("expected ',' or '") + close + "'");
}

JsonMember JsonObjectReader::member(int depth)
{
    JsonMember read;
    read.keyPosition = position_;
    if (peek() != '"') {
        fail("expected a key in double quotes");
    }
    read.key = string();
    skipSpace();
    expect(':', "expected ':' after the key");
    skipSpace();
    read.valuePosition = position_;
    read.value = value(depth);
    return read;
}

Json JsonObjectReader::value(int depth)
{
    if (depth > maximumDepth) {
        fail("values nested too deeply");
    }
    switch (peek()) {
    case '{':
        return object(depth + 1);
    case '[':
        return array(depth + 1);
    case '"':
        return string();
    case 't':
        return literal("true", true);
    case 'f':
        return literal("false", false);
    case 'n':
        return literal("null", nullptr);
    default:
        return number();
    }
}

Json JsonObjectReader::object(int depth)
{
    advance();
    auto read = Json::object();
    items('}', [&] {
        auto inner = member(depth);
        read[inner.key] = std::move(inner.value);
    });
    return read;
}

Json JsonObjectReader::array(int depth)
{
    advance();
    auto read = Json::array();
    items(']', [&] { read.push_back(value(depth)); });
    return read;
}

Json JsonObjectReader::literal(std::string_view word, Json meaning)
{
    if (text_.substr(offset_, word.size()) != word) {
        fail("expected a value");
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        advance();
    }
    return meaning;
}

Json JsonObjectReader::number()
{
    const auto start = offset_;
    const auto position = position_;
    consume('-');
    if (!isDigit(peek())) {
        fail("expected a value");
    }
    if (!consume('0')) {
        digits();
    }
    const bool fraction = consume('.');
    if (fraction) {
        digits();
    }
    const bool exponent = consume('e') || consume('E');
    if (exponent) {
        if (!consume('+')) {
            consume('-');
        }
        digits();
    }
    const auto written = text_.substr(start, offset_ - start);
    if (!fraction && !exponent) {
        if (const auto whole = parsedNumber<std::int64_t>(written)) {
            return *whole;
        }
        if (const auto large = parsedNumber<std::uint64_t>(written)) {
            return *large;
        }
    }
    if (const auto real = parsedNumber<double>(written)) {
        return *real;
    }
    throw SettingsError(position, "number out of range");
}

void JsonObjectReader::digits()
{
    if (!isDigit(peek())) {
        fail("expected a digit");
    }
    while (isDigit(peek())) {
        advance();
    }
}

std::string JsonObjectReader::string()
{
    const auto start = position_;
    advance();
    std::string read;
    while (!consume('"')) {
        if (atEnd()) {
            throw SettingsError(start, "string without its closing \"");
        }
        if (static_cast<unsigned char>(peek()) < 0x20) {
            fail("line break or control character inside a string: is its closing \" missing?");
        }
        if (consume('\\')) {
            escape(read);
            continue;
        }
        // Written back as read, a text that is not UTF-8 would have its bad bytes replaced: two keys
        // would become one, and the file would be refused after the program's own write.
        const auto length = utf8SequenceLength(text_.substr(offset_));
        if (length == 0) {
            fail("text that is not UTF-8 inside a string: the file must be saved as UTF-8");
        }
        for (std::size_t byte = 0; byte < length; ++byte) {
            read.push_back(peek());
            advance();
        }
    }
    return read;
}

void JsonObjectReader::escape(std::string& into)
{
    constexpr std::string_view escaped = "\"\\/bfnrt";
    constexpr std::string_view meant = "\"\\/\b\f\n\r\t";
    if (consume('u')) {
        appendUtf8(into, codePoint());
        return;
    }
    const auto index = escaped.find(peek());
    if (index == std::string_view::npos) {
        fail("unknown escape: a string may hold \\\" \\\\ \\/ \\b \\f \\n \\r \\t and \\u followed by four "
             "hex digits");
    }
    into.push_back(meant[index]);
    advance();
}

// The character a \u escape stands for; one beyond the first 65536 takes two escapes, a surrogate pair.
std::uint32_t JsonObjectReader::codePoint()
{
    const auto position = position_;
    const auto unit = hexQuad();
    if (unit < 0xD800 || unit > 0xDFFF) {
        return unit;
    }
    if (unit <= 0xDBFF && consume('\\') && consume('u')) {
        const auto low = hexQuad();
        if (low >= 0xDC00 && low <= 0xDFFF) {
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    throw SettingsError(position, "\\u escape of half a surrogate pair");
}

std::uint32_t JsonObjectReader::hexQuad()
{
    const auto digits = text_.substr(offset_, 4);
    std::uint32_t unit = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), unit, 16);
    if (digits.size() != 4 || error != std::errc{} || end != digits.data() + digits.size()) {
        fail("expected four hexadecimal digits after \\u");
    }
    for (int i = 0; i < 4; ++i) {
        advance();
    }
    return unit;
}

void JsonObjectReader::skipSpace()
{
    while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r') {
        advance();
    }
}

bool JsonObjectReader::consume(char c)
{
    if (atEnd() || text_[offset_] != c) {
        return false;
    }
    advance();
    return true;
}

void JsonObjectReader::expect(char c, const std::string& what)
{
    if (!consume(c)) {
        fail(what);
    }
}

void JsonObjectReader::advance()
{
    const auto byte = static_cast<unsigned char>(text_[offset_++]);
    if (byte == '\n') {
        ++position_.line;
        position_.column = 1;
    } else if ((byte & 0xC0) != 0x80) {
        // The bytes that continue a character's encoding do not move the column.
        ++position_.column;
    }
}

void JsonObjectReader::fail(const std::string& what) const
{
    throw SettingsError(position_, what);
}

}  // namespace veltrane::linuxbackend
