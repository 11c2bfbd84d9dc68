#include "SimTest.h"

#include "app/ApplicationToggle.h"

namespace veltrane {
namespace {

class ApplicationToggleTest : public testing::SimTest {
protected:
    ApplicationToggle& toggle()
    {
        if (!toggle_) {
            defaults_ = std::make_unique<Defaults>(platform().userDefaults);
            onMain([&] { toggle_ = std::make_unique<ApplicationToggle>(platform(), *defaults_); });
        }
        return *toggle_;
    }
    void front(std::optional<std::string> identifier, std::optional<std::string> name = "App")
    {
        desktop_.activate({std::move(identifier), std::move(name)});
        settle();
    }
    std::optional<std::string> stored(const std::string& key)
    {
        return platform().userDefaults.stringForKey(key);
    }

    std::unique_ptr<Defaults> defaults_;
    std::unique_ptr<ApplicationToggle> toggle_;
};

TEST_F(ApplicationToggleTest, TheDecisionIsAnnouncedOnlyWhenItChanges)
{
    platform().userDefaults.setString("disabledApps", R"(["com.apple.Mail","com.apple.Notes"])");
    toggle();
    front("com.apple.Mail", "Mail");
    front("com.apple.Notes", "Notes");
    front("com.apple.loginwindow", "loginwindow");
    front("com.apple.Safari", "Safari");
    front("com.apple.Safari", "Safari");
    front("com.apple.Mail", "Mail");
    front(std::nullopt, std::nullopt);
    front(std::nullopt, std::nullopt);

    EXPECT_EQ(transcript({"notify"}), "0.000 notify frontmostAppToggle true\n"
                                      "0.000 notify frontmostAppToggle false\n"
                                      "0.000 notify frontmostAppToggle true\n"
                                      "0.000 notify frontmostAppToggle false\n");
    EXPECT_EQ(toggle().frontAppName(), std::nullopt);
}

TEST_F(ApplicationToggleTest, InAllowListModeOnlyTheListedApplicationsKeepTheEngine)
{
    platform().userDefaults.setInteger("whitelist", 1);
    platform().userDefaults.setString("disabledApps", R"(["com.apple.Terminal"])");
    front("com.apple.loginwindow", "loginwindow");
    toggle();
    EXPECT_TRUE(toggle().disabledForApp());

    front("com.apple.Terminal", "Terminal");
    onMain([&] { toggle().enableCurrentApplication(); });
    EXPECT_FALSE(toggle().disabledForApp());
    EXPECT_EQ(stored("enabledApps"), R"(["com.apple.Terminal"])");
    EXPECT_EQ(stored("disabledApps"), R"(["com.apple.Terminal"])");
    onMain([&] { toggle().disableCurrentApplication(); });
    EXPECT_EQ(stored("enabledApps"), "[]");
    EXPECT_EQ(transcript({"notify"}), "0.000 notify frontmostAppToggle true\n"
                                      "0.000 notify frontmostAppToggle false\n"
                                      "0.000 notify frontmostAppToggle true\n");
}

// The menu puts the frontmost application on the list and takes it off; lists changed elsewhere
// (the settings file, veltrane config) are read again, and the menu's next change keeps the edit.
TEST_F(ApplicationToggleTest, TheMenuAndEditsMadeElsewhereChangeTheListsWithoutLosingEachOther)
{
    front("com.apple.Mail", "Mail");
    toggle();
    onMain([&] {
        defaults_->disabledApps().setValue(R"(["com.apple.Mail"])");
        toggle().reloadLists();
    });
    EXPECT_TRUE(toggle().disabledForApp());
    front("com.apple.Safari", "Safari");
    onMain([&] { toggle().disableCurrentApplication(); });
    EXPECT_TRUE(toggle().disabledForApp());
    EXPECT_EQ(stored("disabledApps"), R"(["com.apple.Mail","com.apple.Safari","com.apple.loginwindow"])");
    onMain([&] { toggle().enableCurrentApplication(); });
    EXPECT_EQ(stored("disabledApps"), R"(["com.apple.Mail","com.apple.loginwindow"])");
    front(std::nullopt, "Unnamed");
    onMain([&] { toggle().disableCurrentApplication(); });
    EXPECT_FALSE(toggle().disabledForApp());
}

TEST_F(ApplicationToggleTest, StoredListsThatDoNotDecodeLeaveTheSetsEmpty)
{
    for (const char* text : {"not json", R"({"a": 1})", R"(["com.apple.Mail", 3])", "[\"\xff\"]"}) {
        platform().userDefaults.setString("disabledApps", std::string(text));
        platform().userDefaults.setString("enabledApps", std::string(text));
        defaults_.reset();
        toggle_.reset();
        front("com.apple.Mail", "Mail");
        EXPECT_FALSE(toggle().disabledForApp()) << text;
        front("com.apple.loginwindow", "loginwindow");
        EXPECT_TRUE(toggle().disabledForApp()) << text;
        front("com.apple.Mail", "Mail");
    }
}

}  // namespace
}  // namespace veltrane
