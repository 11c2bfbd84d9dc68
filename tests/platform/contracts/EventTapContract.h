#pragma once

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace veltrane::contracts {

// What every event tap must do, written once against the port. A backend runs it with
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, EventTapContract, Harness), where Harness is default
// constructible with one keyboard connected and has
//   const platform::Platform& platform();
//   void onMain(const std::function<void()>& task);  // runs it on the main queue, then settles
//   void type(std::string_view keyName);  // presses and releases a key-table key on the keyboard
//   // What applications received since the last call, oldest first: "keyDown key=0 flags=0x0".
//   std::vector<std::string> delivered();
template <class Harness> class EventTapContract : public ::testing::Test {
protected:
    static constexpr platform::EventMask kKeys = 0x1C00;

    // A tap made on the main queue that adds a flag to what it sees and notes each call.
    std::shared_ptr<platform::EventTap> flaggingTap(platform::EventMask mask, platform::EventFlags flag,
                                                    const std::string& name)
    {
        std::shared_ptr<platform::EventTap> tap;
        backend.onMain([&] {
            tap = backend.platform().eventTaps.createTap(
                mask, [this, flag, name](platform::EventType type, platform::Event& event) {
                    const bool onMain = backend.platform().dispatch.mainQueue().isCurrent();
                    calls.push_back(name + " " + std::to_string(static_cast<std::uint32_t>(type)) +
                                    (onMain ? "" : " off the main queue"));
                    event.flags |= flag;
                });
        });
        return tap;
    }
    void enable(platform::EventTap& tap, bool enabled)
    {
        backend.onMain([&] { tap.enable(enabled); });
    }

    Harness backend;
    // Only the main queue appends, and the test reads after onMain or type have settled.
    std::vector<std::string> calls;
};

TYPED_TEST_SUITE_P(EventTapContract);

// A tap starts disabled. Enabled, it sees on the main queue the events of the types in its mask,
// before applications do, and what it changes is what they receive.
TYPED_TEST_P(EventTapContract, AnEnabledTapSeesTheTypesOfItsMaskAndMayChangeThem)
{
    auto& harness = this->backend;
    auto tap = this->flaggingTap(0x400, platform::kFlagCommand, "tap");
    EXPECT_FALSE(tap->isEnabled());
    harness.type("a");
    EXPECT_EQ(harness.delivered(),
              (std::vector<std::string>{"keyDown key=0 flags=0x0", "keyUp key=0 flags=0x0"}));

    this->enable(*tap, true);
    EXPECT_TRUE(tap->isEnabled());
    harness.type("a");
    EXPECT_EQ(this->calls, std::vector<std::string>{"tap 10"});
    EXPECT_EQ(harness.delivered(),
              (std::vector<std::string>{"keyDown key=0 flags=0x100000", "keyUp key=0 flags=0x0"}));
}

// The newest tap sees each event first; a disabled, invalidated or released tap sees nothing, and
// an invalidated one cannot be enabled again.
TYPED_TEST_P(EventTapContract, TapsSeeEventsNewestFirstUntilDisabledInvalidatedOrReleased)
{
    auto& harness = this->backend;
    auto older = this->flaggingTap(this->kKeys, platform::kFlagOption, "older");
    auto newer = this->flaggingTap(this->kKeys, platform::kFlagControl, "newer");
    this->enable(*older, true);
    this->enable(*newer, true);
    harness.type("a");
    EXPECT_EQ(this->calls, (std::vector<std::string>{"newer 10", "older 10", "newer 11", "older 11"}));
    EXPECT_EQ(harness.delivered(),
              (std::vector<std::string>{"keyDown key=0 flags=0xc0000", "keyUp key=0 flags=0xc0000"}));

    this->calls.clear();
    this->enable(*older, false);
    harness.onMain([&] {
        newer->invalidate();
        newer->enable(true);
    });
    EXPECT_FALSE(newer->isEnabled());
    harness.type("a");
    this->enable(*older, true);
    harness.onMain([&] { older.reset(); });
    harness.type("a");
    EXPECT_EQ(this->calls, std::vector<std::string>{});
    EXPECT_EQ(harness.delivered().size(), 4u);
}

// Events the application posts pass the taps like those of the devices.
TYPED_TEST_P(EventTapContract, PostedEventsPassTheTaps)
{
    auto& harness = this->backend;
    auto tap = this->flaggingTap(this->kKeys, platform::kFlagCommand, "tap");
    this->enable(*tap, true);
    harness.onMain([&] {
        auto& poster = harness.platform().eventPoster;
        const auto source = poster.createEventSource(platform::EventSourceState::privateState);
        poster.post(*source->createKeyboardEvent(53, true));
        poster.post(*source->createKeyboardEvent(53, false));
    });

    EXPECT_EQ(this->calls, (std::vector<std::string>{"tap 10", "tap 11"}));
    EXPECT_EQ(harness.delivered(),
              (std::vector<std::string>{"keyDown key=53 flags=0x100000", "keyUp key=53 flags=0x100000"}));
}

REGISTER_TYPED_TEST_SUITE_P(EventTapContract, AnEnabledTapSeesTheTypesOfItsMaskAndMayChangeThem,
                            TapsSeeEventsNewestFirstUntilDisabledInvalidatedOrReleased,
                            PostedEventsPassTheTaps);

}  // namespace veltrane::contracts
