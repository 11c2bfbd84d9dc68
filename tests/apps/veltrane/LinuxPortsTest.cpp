#include "LinuxPorts.h"
#include "HeadlessShell.h"
#include "PermissionAdvice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace veltrane {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The engine's alerts about permissions say, on Linux, what is missing and the one command that
// grants it, and send nobody to the settings of another system.
TEST(LinuxPortsTest, ThePermissionAlertsNameTheDevicesAndTheCommandThatOpensThem)
{
    const auto folder =
        std::filesystem::temp_directory_path() / ("linux-ports-" + std::to_string(::getpid()));
    HeadlessShell shell([](const std::string&) {});
    LinuxPorts ports((folder / "settings.json").string(), shell,
                     {.log = [](const std::string&) {},
                      .trusted = [] { return true; },
                      .terminate = [] {},
                      .exit = [](int) {}});
    const auto help = ports.platform().system.permissionHelp();
    for (const auto& text : {help.listenerAlertText, help.tapAlertText}) {
        EXPECT_THAT(text, HasSubstr("/dev/uinput"));
        EXPECT_THAT(text, HasSubstr(PermissionAdvice::command()));
        EXPECT_THAT(text, Not(HasSubstr("System Preferences")));
    }
    EXPECT_EQ(help.settingsPage, std::nullopt);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace veltrane
