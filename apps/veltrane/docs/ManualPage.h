#pragma once

#include "platform/linux/settings/SettingsSchema.h"

#include <string>

namespace veltrane {

// The manual page of the veltrane program, in roff, made from its commands and its settings.
class ManualPage {
public:
    static std::string roff(const linuxbackend::SettingsSchema& schema, const std::string& version);
};

}  // namespace veltrane
