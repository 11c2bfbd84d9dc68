#include "touch/Touch.h"

#include <charconv>
#include <string_view>

namespace veltrane {

StringId Touch::makeStringId(std::int64_t id, std::optional<double> beginTime)
{
    // Room for a 64-bit integer, ":" and the longest shortest form of a double.
    char text[64];
    char* end = std::to_chars(text, text + sizeof text, id).ptr;
    if (beginTime) {
        *end++ = ':';
        end = std::to_chars(end, text + sizeof text, *beginTime).ptr;
    }
    return StringId(std::string_view(text, static_cast<std::size_t>(end - text)));
}

}  // namespace veltrane
