#include "SimTest.h"

#include "app/AccessibilityAuthorization.h"

namespace veltrane {
namespace {

using AccessibilityAuthorizationTest = testing::SimTest;

// A trusted process showing nothing and starting the engine once is in the startup-order scenario;
// the window that stays, polling, until trust arrives and then starts the engine once is in the
// untrusted-start scenario.
TEST_F(AccessibilityAuthorizationTest, ClosingTheWindowEndsTheApplication)
{
    AccessibilityAuthorization authorization(platform());
    desktop_.setTrusted(false);
    onMain([&] { authorization.checkAuthorization([] {}); });
    sim::SimWindow& window = *process().windows().find(AccessibilityAuthorization::kWindowIdentifier);
    window.miniaturize();
    onMain([&] { authorization.bringWindowForward(); });
    window.pressCloseButton();
    settle();

    EXPECT_EQ(transcript(), "0.000 window AccessibilityWindowController shown\n"
                            "0.000 window AccessibilityWindowController key\n"
                            "0.000 window AccessibilityWindowController deminiaturized\n"
                            "0.000 exit 1\n");
}

}  // namespace
}  // namespace veltrane
