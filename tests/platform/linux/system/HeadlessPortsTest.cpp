#include "platform/linux/headless/HeadlessAlerts.h"
#include "platform/linux/system/NoMultitouch.h"
#include "platform/linux/system/NoWorkspace.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

TEST(NoWorkspace, OpeningAnApplicationFailsOnTheMainQueue)
{
    threads::MainLoop mainLoop;
    NoWorkspace workspace(mainLoop);
    std::optional<std::string> error;
    bool onMainQueue = false;

    workspace.openApplication("/usr/bin/veltrane-launcher", {},
                              [&](const std::optional<std::string>& failure) {
                                  error = failure;
                                  onMainQueue = mainLoop.isCurrent();
                                  mainLoop.quit();
                              });
    mainLoop.run();

    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("/usr/bin/veltrane-launcher"), std::string::npos);
    EXPECT_TRUE(onMainQueue);
}

TEST(NoMultitouch, ListsNoDeviceRatherThanFailing)
{
    NoMultitouch multitouch;

    const auto devices = multitouch.MTDeviceCreateList();

    ASSERT_TRUE(devices.has_value());
    EXPECT_TRUE(devices->empty());
}

TEST(HeadlessAlerts, LogsTheTitleAndTextAndReturns)
{
    std::vector<std::string> lines;
    HeadlessAlerts alerts([&](const std::string& line) { lines.push_back(line); });

    alerts.showAlert("Permission needed", "Veltrane cannot read the keyboards.", "OK");

    EXPECT_EQ(lines, (std::vector<std::string>{"Permission needed: Veltrane cannot read the keyboards."}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
