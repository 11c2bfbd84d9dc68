#include "touch/MacModel.h"

#include <cstdint>

namespace veltrane {

namespace {

// Length of the UTF-8 sequence that starts with this byte, 0 when no sequence starts so.
int sequenceLength(std::uint8_t lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// Structure only: overlong three- and four-byte forms and surrogates are not told apart, which
// does not matter for a model name.
bool isUtf8(const std::vector<std::uint8_t>& data)
{
    for (std::size_t i = 0; i < data.size();) {
        const int length = sequenceLength(data[i]);
        if (length == 0 || i + static_cast<std::size_t>(length) > data.size()) {
            return false;
        }
        for (std::size_t k = 1; k < static_cast<std::size_t>(length); ++k) {
            if ((data[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

}  // namespace

std::optional<std::string> MacModel::model() const
{
    const auto data = system_.platformExpertModel();
    if (!data || !isUtf8(*data)) {
        return std::nullopt;
    }
    std::string text(data->begin(), data->end());
    // The registry stores the name as a C string; its terminating zero is not part of it.
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

}  // namespace veltrane
