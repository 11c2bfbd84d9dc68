#include "LinuxPorts.h"
#include "HeadlessShell.h"
#include "PermissionAdvice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veltrane {
namespace {

// The engine's permission alerts say, on Linux, what is missing and the one command that grants
// it, and send nobody to the settings of another system.
TEST(LinuxPortsTest, ThePermissionAlertsNameTheDevicesAndTheCommandThatOpensThem)
{
    HeadlessShell shell([](const std::string&) {});
    const LinuxPorts ports("/nonexistent/settings.json", shell, {});
    const auto help = ports.platform().system.permissionHelp();
    for (const auto& text : {help.listenerAlertText, help.tapAlertText}) {
        EXPECT_THAT(text, ::testing::HasSubstr("/dev/uinput"));
        EXPECT_THAT(text, ::testing::HasSubstr(PermissionAdvice::command()));
        EXPECT_EQ(text.find("System Preferences"), std::string::npos);
    }
    EXPECT_EQ(help.settingsPage, std::nullopt);
}

}  // namespace
}  // namespace veltrane
