#include "logging/UnicodeText.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace logging {

namespace {

bool isSeparator(UChar32 c)
{
    const auto type = u_charType(c);
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

bool isRegexSpace(UChar32 c)
{
    if (c < 0x80) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
    }
    return isSeparator(c);
}

bool isSpaceOrNewline(UChar32 c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x85 || isSeparator(c);
}

// ICU's UTF-8 macros cast in the C style; negative code points stand for ill-formed bytes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
UChar32 previousCodePoint(std::string_view text, std::int32_t& offset)
{
    UChar32 c = 0;
    U8_PREV(reinterpret_cast<const std::uint8_t*>(text.data()), 0, offset, c);
    return c;
}

UChar32 nextCodePoint(std::string_view text, std::int32_t& offset)
{
    UChar32 c = 0;
    U8_NEXT(reinterpret_cast<const std::uint8_t*>(text.data()), offset,
            static_cast<std::int32_t>(text.size()), c);
    return c;
}
#pragma GCC diagnostic pop

// The length of text once the code points at its end that match are removed.
template <typename Predicate> std::size_t lengthWithoutTrailing(std::string_view text, Predicate matches)
{
    auto length = static_cast<std::int32_t>(text.size());
    while (length > 0) {
        std::int32_t start = length;
        const UChar32 c = previousCodePoint(text, start);
        if (c < 0 || !matches(c)) {
            break;
        }
        length = start;
    }
    return static_cast<std::size_t>(length);
}

std::size_t lengthOfLeadingSpace(std::string_view text)
{
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    while (offset < length) {
        std::int32_t next = offset;
        const UChar32 c = nextCodePoint(text, next);
        if (c < 0 || !isSpaceOrNewline(c)) {
            break;
        }
        offset = next;
    }
    return static_cast<std::size_t>(offset);
}

icu::BreakIterator& characterBreaks()
{
    // Creating a break iterator is expensive, and one is not safe to share between threads.
    thread_local const std::unique_ptr<icu::BreakIterator> breaks = [] {
        UErrorCode status = U_ZERO_ERROR;
        return std::unique_ptr<icu::BreakIterator>(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    }();
    return *breaks;
}

}  // namespace

std::size_t UnicodeText::characterCount(std::string_view text)
{
    const bool simple = std::all_of(text.begin(), text.end(), [](char c) { return c > 0 && c != '\r'; });
    if (simple) {
        return text.size();
    }
    auto& breaks = characterBreaks();
    breaks.setText(
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size()))));
    std::size_t count = 0;
    for (auto boundary = breaks.next(); boundary != icu::BreakIterator::DONE; boundary = breaks.next()) {
        ++count;
    }
    return count;
}

void UnicodeText::appendPadded(std::string& out, std::string_view text, int width)
{
    const auto wanted = static_cast<std::size_t>(width < 0 ? -static_cast<long>(width) : width);
    const std::size_t count = width == 0 ? wanted : characterCount(text);
    const std::size_t fill = count < wanted ? wanted - count : 0;
    if (width > 0) {
        out.append(fill, ' ');
    }
    out.append(text);
    if (width < 0) {
        out.append(fill, ' ');
    }
}

void UnicodeText::trimTrailingSpace(std::string& text)
{
    text.resize(lengthWithoutTrailing(text, isRegexSpace));
}

std::string_view UnicodeText::trimmed(std::string_view text)
{
    text.remove_prefix(lengthOfLeadingSpace(text));
    return text.substr(0, lengthWithoutTrailing(text, isSpaceOrNewline));
}

std::string UnicodeText::lowercased(std::string_view text)
{
    auto unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
    std::string lower;
    unicode.toLower(icu::Locale::getRoot()).toUTF8String(lower);
    return lower;
}

}  // namespace logging
