#pragma once

#include "platform/System.h"

#include <optional>
#include <string>

namespace veltrane {

// The machine's model name ("MacBookPro18,1"), as the platform expert device reports it.
class MacModel {
public:
    explicit MacModel(const platform::System& system) : system_(system) {}

    // Nothing when the machine reports no model or one that is not UTF-8 text.
    std::optional<std::string> model() const;

private:
    const platform::System& system_;
};

}  // namespace veltrane
