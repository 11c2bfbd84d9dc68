#include "touch/StringId.h"

#include <algorithm>
#include <ostream>

namespace veltrane {

StringId::StringId(std::string_view text)
    : size_(static_cast<std::uint8_t>(std::min(text.size(), text_.size())))
{
    std::copy_n(text.begin(), size_, text_.begin());
}

std::ostream& operator<<(std::ostream& out, const StringId& id)
{
    return out << id.view();
}

}  // namespace veltrane
