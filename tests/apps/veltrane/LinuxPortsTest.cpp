#include "LinuxPorts.h"
#include "HeadlessShell.h"
#include "PermissionAdvice.h"
#include "touch/CursorFreeze.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace veltrane {
namespace {

using ::testing::HasSubstr;

// The engine's permission alerts say, on Linux, what is missing and the one command that grants
// it, and send nobody to the settings of another system. A Wayland session lets no program hold the
// pointer still: the log says so once, however often a slide would hold it. No haptic pulse is felt
// either, which only the debug log tells each time.
TEST(LinuxPortsTest, TheAlertsNameTheCommandThatOpensTheDevicesAndWhatTheDesktopCannotDoIsLogged)
{
    ::setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    std::vector<std::string> lines;
    std::vector<std::string> debugLines;
    HeadlessShell shell([](const std::string&) {});
    const LinuxPorts ports("/nonexistent/settings.json", shell,
                           {.log = [&lines](const std::string& line) { lines.push_back(line); },
                            .debug = [&debugLines](const std::string& line) { debugLines.push_back(line); },
                            .trusted = [] { return true; },
                            .terminate = [] {},
                            .exit = [](int) {}});
    const auto help = ports.platform().system.permissionHelp();
    for (const auto& text : {help.listenerAlertText, help.tapAlertText}) {
        EXPECT_THAT(text, HasSubstr("/dev/uinput"));
        EXPECT_THAT(text, HasSubstr(PermissionAdvice::command()));
        EXPECT_EQ(text.find("System Preferences"), std::string::npos);
    }
    EXPECT_EQ(help.settingsPage, std::nullopt);

    CursorFreeze freeze(ports.platform().eventMonitors, ports.platform().eventPoster);
    freeze.freeze(std::nullopt);
    freeze.unfreeze();
    freeze.freeze(std::nullopt);
    ports.platform().system.performHapticFeedback();
    EXPECT_THAT(lines, ::testing::ElementsAre(
                           ::testing::AllOf(HasSubstr("pointer is not held still"), HasSubstr("Wayland"))));
    EXPECT_THAT(debugLines, ::testing::ElementsAre(HasSubstr("haptic")));
}

}  // namespace
}  // namespace veltrane
