#include "platform/linux/settings/SettingsFileWatcher.h"
#include "SettingsFolder.h"
#include "TestReactor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;

// Long enough for the watcher to have seen a change, and queued its call, had there been one.
constexpr auto settle = 300ms;

void renameNewFileOver(const std::filesystem::path& file, const std::string& text)
{
    const auto replacement = file.parent_path() / "settings.json.new";
    std::ofstream(replacement) << text;
    std::filesystem::rename(replacement, file);
}

class SettingsFileWatcherTest : public ::testing::Test {
protected:
    // Runs the reactor until a while after the first call, or until patience runs out without one.
    void runUntilSettled()
    {
        if (reactor.runUntil([this] { return calls > 0; })) {
            reactor.runUntil([] { return false; }, settle);
        }
    }

    SettingsFolder folder;
    testsupport::TestReactor reactor;
    int calls = 0;
};

// Once destroyed, it calls nothing, not even for a change it saw before.
TEST_F(SettingsFileWatcherTest, CallsOnceOnTheReactorForEachWayTheFileChangesAndNothingOnceDestroyed)
{
    auto watcher = std::make_unique<SettingsFileWatcher>(folder.file(), reactor.reactor, [this] {
        EXPECT_TRUE(reactor.loop.isCurrent());
        ++calls;
    });
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"created", [this] { folder.write("{}"); }},
        {"a new file renamed over it",
         [this] { renameNewFileOver(folder.file(), R"({"launchOnLogin": true})"); }},
        {"written in place", [this] { folder.write("{}"); }},
        {"removed", [this] { std::filesystem::remove(folder.file()); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        calls = 0;
        change();
        runUntilSettled();
        EXPECT_EQ(calls, 1);
    }

    calls = 0;
    folder.write("{}");
    std::this_thread::sleep_for(settle);
    watcher.reset();
    renameNewFileOver(folder.file(), "{}");
    reactor.runUntil([] { return false; }, settle);
    EXPECT_EQ(calls, 0);
}

// The program's own write is seen too, and reading the file again finds nothing to apply: it stops there.
TEST_F(SettingsFileWatcherTest, TheProgramsOwnWritesEndInAReloadWithoutChanges)
{
    auto settings = folder.open();
    std::optional<std::vector<std::string>> reloaded;
    SettingsFileWatcher watcher(folder.file(), reactor.reactor, [&] {
        reloaded = settings->reload();
        ++calls;
    });
    settings->setBool("launchOnLogin", true);
    runUntilSettled();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reloaded, std::vector<std::string>{});
}

}  // namespace
}  // namespace veltrane::linuxbackend
