#pragma once

#include "touch/StringId.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace veltrane {

// The ids of the touches a tracker follows, written out once per touch rather than once per
// frame: writing a begin time out costs more than all the rest of a touch. Holds the last few
// touches seen and allocates nothing once made.
class StringIdCache {
public:
    StringIdCache();

    const StringId& of(std::int64_t id, std::optional<double> beginTime);

private:
    struct Entry {
        std::int64_t id = 0;
        std::optional<double> beginTime;
        StringId text;
    };

    // More than the fingers of two hands: a touch is written again only after this many others.
    static constexpr std::size_t kEntries = 32;

    std::vector<Entry> entries_;
    std::size_t next_ = 0;
};

}  // namespace veltrane
