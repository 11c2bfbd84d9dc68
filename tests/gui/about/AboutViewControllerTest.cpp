#include "gui/about/AboutViewController.h"

#include "platform/Bundle.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include <map>
#include <optional>
#include <string>

namespace veltrane::gui {
namespace {

class FakeBundle final : public platform::Bundle {
public:
    std::string bundlePath() const override { return "/usr/bin"; }
    std::optional<std::string> bundleIdentifier() const override { return infoString("CFBundleIdentifier"); }
    std::optional<std::string> infoString(const std::string& key) const override
    {
        const auto found = info.find(key);
        return found == info.end() ? std::nullopt : std::optional(found->second);
    }
    std::string localizedString(const std::string&, const std::string&,
                                const std::string& defaultValue) const override
    {
        return defaultValue;
    }

    std::map<std::string, std::string> info{{"CFBundleName", "Veltrane"},
                                            {"CFBundleShortVersionString", "1.4"},
                                            {"CFBundleVersion", "27"},
                                            {"NSHumanReadableCopyright", "Copyright © 2026 Ada Ö. Lovelace"}};
};

TEST(AboutViewControllerTest, ShowsVersionAndBuildAndTheCopyrightUnchangedOrNothingForAMissingKey)
{
    FakeBundle bundle;
    const AboutViewController about(bundle);
    EXPECT_EQ(about.versionField().text(), "Version 1.4 (27)");
    EXPECT_EQ(about.copyrightField().text(), "Copyright © 2026 Ada Ö. Lovelace");

    bundle.info.erase("CFBundleVersion");
    bundle.info.erase("NSHumanReadableCopyright");
    const AboutViewController missing(bundle);
    EXPECT_EQ(missing.versionField().text(), "");
    EXPECT_EQ(missing.copyrightField().text(), "");
}

// Its title is in the kernel test that opens every window from the tray.
TEST(AboutViewControllerTest, WindowIsCompactAndOfFixedSize)
{
    const auto window = AboutViewController::makeWindow(FakeBundle{});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_LT(window->width(), 600);
    EXPECT_LT(window->height(), 400);
}

}  // namespace
}  // namespace veltrane::gui
