#include "LinuxPorts.h"
#include "HeadlessShell.h"
#include "PermissionAdvice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// No haptic pulse is felt on Linux, which only the debug log tells, each time.
TEST(LinuxPortsTest, WhatTheDesktopCannotDoIsLogged)
{
    std::vector<std::string> debugLines;
    HeadlessShell shell([](const std::string&) {});
    const LinuxPorts ports("/nonexistent/settings.json", shell,
                           {.log = [](const std::string&) {},
                            .debug = [&debugLines](const std::string& line) { debugLines.push_back(line); },
                            .trusted = [] { return true; },
                            .terminate = [] {},
                            .exit = [](int) {}});
    ports.platform().system.performHapticFeedback();

    EXPECT_THAT(debugLines, ::testing::ElementsAre(::testing::HasSubstr("haptic")));
}

}  // namespace
}  // namespace veltrane
