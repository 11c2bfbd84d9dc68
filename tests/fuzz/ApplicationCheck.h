#pragma once

#include "FuzzInput.h"
#include "platform/Workspace.h"
#include "platform/linux/system/PrintableText.h"

#include <optional>
#include <string>

namespace veltrane::fuzz {

// What the program concludes of an application that the desktop names is an identifier and a name
// of printable text, or nothing.
inline void checkApplication(const std::optional<platform::RunningApplication>& application,
                             const std::string& from)
{
    const auto printable = [](const std::optional<std::string>& text) {
        return text && !text->empty() && linuxbackend::isPrintableText(*text);
    };
    if (application && !(printable(application->bundleIdentifier) && printable(application->localizedName))) {
        fail("the application concluded from " + from + " has no printable identifier or name");
    }
}

}  // namespace veltrane::fuzz
