#pragma once

#include <set>
#include <string>
#include <string_view>

namespace veltrane::scenario {

// The transcript kinds that --only or the only command keep: a comma-separated list of known kinds, or every
// kind when the list is empty.
class TranscriptFilter {
public:
    explicit TranscriptFilter(std::string_view kinds);

    bool keeps(std::string_view kind) const;

private:
    std::set<std::string, std::less<>> kinds_;
};

}  // namespace veltrane::scenario
