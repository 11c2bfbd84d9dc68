#include "SimTest.h"

namespace veltrane::sim {
namespace {

using platform::Event;
using platform::EventType;

constexpr platform::EventMask kKeyMask = 0x1C00;
constexpr HidKey kA{7, 0x04};
constexpr HidKey kLeftShift{7, 0xE1};

class EventStreamTest : public testing::SimTest {
protected:
    void typeA()
    {
        desktop_.hid().key("kb", kA, true);
        settle();
    }

    SimKeyboard& keyboard = desktop_.hid().connect("kb", {});
};

TEST_F(EventStreamTest, SourcesOtherThanPrivateCarryTheSystemModifiers)
{
    desktop_.hid().key("kb", kLeftShift, true);
    desktop_.windowServer().setCapsLockState(true);
    desktop_.windowServer().setCapsLockState(true);
    const auto privateSource =
        platform().eventPoster.createEventSource(platform::EventSourceState::privateState);
    const auto sessionSource =
        platform().eventPoster.createEventSource(platform::EventSourceState::combinedSession);

    EXPECT_EQ(privateSource->createKeyboardEvent(0, true)->flags, 0u);
    EXPECT_EQ(sessionSource->createKeyboardEvent(0, false)->flags, 0x30000u);
    EXPECT_EQ(platform().eventPoster.modifierFlags(), 0x30000u);
    EXPECT_EQ(transcript({"capslock"}), "0.000 capslock on\n");
}

TEST_F(EventStreamTest, ATimeoutSwitchesTheTapOffAndTellsItWhileTheEventPassesUnchanged)
{
    std::shared_ptr<platform::EventTap> tap;
    onMain([&] {
        tap = platform().eventTaps.createTap(kKeyMask, [&](EventType type, Event& event) {
            desktop_.transcript().record("callback", std::to_string(static_cast<std::uint32_t>(type)));
            event.flags |= platform::kFlagCommand;
            tap->enable(true);
        });
    });
    tap->enable(true);
    desktop_.faults().tapNotice = EventType::tapDisabledByTimeout;
    typeA();
    typeA();

    EXPECT_EQ(transcript({"tap", "callback", "deliver"}), "0.000 tap created mask=0x1c00\n"
                                                          "0.000 tap enabled\n"
                                                          "0.000 tap disabled\n"
                                                          "0.000 callback 4294967294\n"
                                                          "0.000 tap enabled\n"
                                                          "0.000 deliver keyDown key=0 flags=0x0\n"
                                                          "0.000 callback 10\n"
                                                          "0.000 deliver keyDown key=0 flags=0x100000\n");
}

TEST_F(EventStreamTest, ATapThatCannotBeCreatedIsNothingOnce)
{
    desktop_.faults().tapCreate = true;
    EXPECT_EQ(platform().eventTaps.createTap(kKeyMask, [](EventType, Event&) {}), nullptr);
    EXPECT_NE(platform().eventTaps.createTap(kKeyMask, [](EventType, Event&) {}), nullptr);
}

}  // namespace
}  // namespace veltrane::sim
