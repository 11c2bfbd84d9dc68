#include "platform/linux/system/PrintableText.h"

#include <cstdint>

namespace veltrane::linuxbackend {

namespace {

// The code point the text starts with and its length in bytes, or a length of 0 when the text
// starts with no valid sequence.
struct Decoded {
    std::uint32_t code = 0;
    std::size_t length = 0;
};

// The length of the sequence a byte leads, 0 for a byte that leads none.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xC2) {
        return 0;
    }
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
}

Decoded decoded(std::string_view text)
{
    if (text.empty()) {
        return {};
    }
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = sequenceLength(lead);
    if (length == 0 || length > text.size()) {
        return {};
    }
    std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        code = code << 6 | (next & 0x3Fu);
    }
    static constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    return {code, length};
}

bool isControl(std::uint32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view text)
{
    return decoded(text).length;
}

bool isPrintableText(std::string_view text)
{
    while (!text.empty()) {
        const auto [code, length] = decoded(text);
        if (length == 0 || isControl(code)) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

}  // namespace veltrane::linuxbackend
