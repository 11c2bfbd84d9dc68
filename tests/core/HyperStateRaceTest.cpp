#include "core/HyperCGEventProcessor.h"
#include "keyboard/HidRemap.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/threads/SerialQueue.h"

#include <gtest/gtest.h>

#include <latch>

namespace veltrane {
namespace {

// The hyper state is written on the listener's queue while the main queue reads it for every
// event; each event must carry either its own flags or the whole hyper set, never a mixture.
TEST(HyperStateRaceTest, EventsSeeTheHyperStateWholeWhileTheListenerChangesIt)
{
    platform::DefaultsDomain domain;
    sim::SimUserDefaults store(domain);
    Defaults defaults(store);
    HyperFlags hyperFlags(defaults);
    HyperCGEventProcessor processor(hyperFlags, defaults);
    threads::SerialQueue hidQueue("hidQueue");
    threads::SerialQueue mainQueue("main");
    constexpr int kRounds = 20000;
    std::latch done(2);
    int mixed = 0;

    hidQueue.async([&] {
        for (int i = 0; i < kRounds; ++i) {
            hyperFlags.setKeyDown(i % 2 == 0);
        }
        done.count_down();
    });
    mainQueue.async([&] {
        for (int i = 0; i < kRounds; ++i) {
            platform::Event event{platform::EventType::keyDown, 0x10000, 0, 0, {}};
            processor.process(event);
            mixed += event.flags == 0x1E0000 || event.flags == 0x10000 ? 0 : 1;
        }
        done.count_down();
    });
    done.wait();

    EXPECT_EQ(mixed, 0);
}

// The listener asks whether caps lock is mapped while the main queue rewrites the mapping.
TEST(HyperStateRaceTest, TheMappingListIsReadWhileItIsReplaced)
{
    sim::Desktop desktop;
    desktop.hid().connect("kb", {});
    sim::SimProcess& process = desktop.launch();
    Defaults defaults(process.platform().userDefaults);
    HidRemap hidRemap(process.platform(), defaults);
    threads::SerialQueue hidQueue("hidQueue");
    std::atomic<bool> writing{true};
    std::latch done(1);

    hidQueue.async([&] {
        while (writing.load()) {
            hidRemap.isRemapped(0x39);
        }
        done.count_down();
    });
    for (int i = 0; i < 300; ++i) {
        hidRemap.addMapping(0x39, 0x29);
        hidRemap.resetAll();
    }
    writing.store(false);
    done.wait();

    EXPECT_FALSE(hidRemap.isRemapped(0x39));
}

}  // namespace
}  // namespace veltrane
