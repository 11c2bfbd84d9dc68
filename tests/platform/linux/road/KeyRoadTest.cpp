#include "Road.h"
#include "platform/KeyTable.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using Lines = std::vector<std::string>;
using Kind = KeyDecoder::Change::Kind;

constexpr platform::HidDeviceMatch kKeyboards{1, 6};
constexpr platform::HidDeviceMatch kMice{1, 2};
constexpr std::uint16_t kPlayPause = KEY_PLAYPAUSE;
const std::vector<platform::HidKeyMapping> kCapsLockAsCommand{{0x700000039, 0x7000000E3}};

// The engine's hyper key is caps lock mapped to left Command: the four modifiers go down right
// before the key they go with, and up with the hyper key, its own release first.
const Lines kHyperDown{"+lctrl", "+lopt", "+lcmd", "+lshift"};
const Lines kCapsHyperUp{"-lcmd", "-lctrl", "-lopt", "-lshift"};
const Lines kCapsLockTap{"+capslock", "-capslock"};
const std::array<std::pair<const char*, bool>, 4> kChord{
    {{"capslock", true}, {"a", true}, {"a", false}, {"capslock", false}}};

// The parts one after the other, the whole as many times as asked.
Lines join(std::initializer_list<Lines> parts, int times = 1)
{
    Lines all;
    for (int i = 0; i < times; ++i) {
        for (const auto& part : parts) {
            all.insert(all.end(), part.begin(), part.end());
        }
    }
    return all;
}

std::shared_ptr<platform::HidServiceClient> service(Road& road, std::size_t index)
{
    const auto services = road.hid.copyServices();
    return services && index < services->size() ? (*services)[index] : nullptr;
}

// A manager that counts every value it hears.
std::shared_ptr<platform::HidManager> counting(Road& road, std::atomic<int>& heard,
                                               platform::HidDeviceMatch match = kKeyboards)
{
    auto manager = road.hid.createHidManager();
    manager->setDeviceMatching({match});
    manager->registerInputValueCallback(
        [&heard](platform::HidResult, const platform::HidValue&) { ++heard; });
    return manager;
}

// Managers that must hear no key: one matching only mice, and one the system refused to open. That
// a manager hears nothing unopened, closed or unscheduled is the HID manager contract's to check.
std::vector<std::shared_ptr<platform::HidManager>> deafManagers(Road& road, std::atomic<int>& heard)
{
    const auto mice = counting(road, heard, kMice);
    mice->open();
    road.hid.setPermitted(false);
    const auto refused = counting(road, heard);
    EXPECT_EQ(refused->open(), platform::kHidNotPermitted);
    road.hid.setPermitted(true);
    mice->schedule(road.hidQueue);
    refused->schedule(road.hidQueue);
    return {mice, refused};
}

// The road with one keyboard plugged in.
class KeyRoadTest : public ::testing::Test {
protected:
    // Waits for what was given so far, and drops what the hyper key met of it.
    void forgetSoFar()
    {
        road.settle();
        road.hyperKey.take();
    }

    Road road;
    const std::shared_ptr<LinuxKeyboard> first = road.plugIn("Keyboard 1");
};

TEST_F(KeyRoadTest, TheListenerHearsEachKeyOnItsQueueBeforeTheTapsSeeItOnTheMainQueue)
{
    constexpr int kChords = 50;
    std::atomic<int> strays = 0;
    const auto deaf = deafManagers(road, strays);
    ASSERT_TRUE(service(road, 0)->setUserKeyMapping(kCapsLockAsCommand));

    // The input thread hands the keys on without waiting for the main loop.
    std::thread input([&] {
        for (int i = 0; i < kChords; ++i) {
            for (const auto& [name, down] : kChord) {
                road.key(first, name, down, false);
            }
        }
    });
    input.join();
    road.settle();

    // A listener a key late would leave the tap to add the flags to the wrong keys.
    const Lines heard{"hid +capslock", "tap ~lcmd hyper", "hid +a",        "tap +a hyper",
                      "hid -a",        "tap -a hyper",    "hid -capslock", "tap ~lcmd"};
    EXPECT_EQ(road.hyperKey.take(), join({{"added Keyboard 1"}, join({heard}, kChords)}));
    EXPECT_EQ(road.written(), join({kHyperDown, {"+a", "-a"}, kCapsHyperUp}, kChords));
    EXPECT_EQ(strays, 0);
}

TEST_F(KeyRoadTest, AKeyboardsMappingTurnsCapsLockIntoCommandOnlyAfterTheListenerHeardCapsLock)
{
    const auto second = road.plugIn("Keyboard 2");
    ASSERT_EQ(service(road, 1), second);
    ASSERT_TRUE(service(road, 0)->setUserKeyMapping(kCapsLockAsCommand));
    forgetSoFar();

    // The keyboard without a mapping keeps its caps lock, which toggles the lock.
    road.tap(second, "capslock");
    EXPECT_EQ(road.written(), kCapsLockTap);
    EXPECT_TRUE(road.modifiers.capsLockState());
    // Alone, the hyper key presses nothing: the desktop takes a lone Meta for its launcher.
    road.tap(first, "capslock");
    EXPECT_EQ(road.written(), Lines{});
    EXPECT_EQ(road.hyperKey.take(),
              (Lines{"hid +capslock", "tap ~capslock hyper", "hid -capslock", "hid +capslock",
                     "tap ~lcmd hyper", "hid -capslock", "tap ~lcmd"}));

    // A key held while its mapping goes goes up as what it went down as, and leaves the lock be.
    road.key(first, "capslock", true);
    road.tap(first, "a");
    ASSERT_TRUE(service(road, 0)->setUserKeyMapping({}));
    road.key(first, "capslock", false);
    EXPECT_EQ(road.written(), join({kHyperDown, {"+a", "-a"}, kCapsHyperUp}));
    EXPECT_TRUE(road.modifiers.capsLockState());
    road.tap(first, "capslock");
    EXPECT_EQ(road.written(), kCapsLockTap);
    EXPECT_FALSE(road.modifiers.capsLockState());
}

TEST_F(KeyRoadTest, AKeyboardGoneWithTheHyperKeyHeldLetsGoOfAllItHeldAndNothingElse)
{
    const auto second = road.plugIn("Keyboard 2");
    ASSERT_TRUE(service(road, 0)->setUserKeyMapping(kCapsLockAsCommand));
    road.key(second, "lshift", true);
    road.key(first, "capslock", true);
    road.key(first, "a", true);
    EXPECT_EQ(road.written(), (Lines{"+lshift", "+lctrl", "+lopt", "+lcmd", "+a"}));
    forgetSoFar();

    road.unplug(first);
    road.settle();

    EXPECT_EQ(road.hyperKey.take(),
              (Lines{"hid -a", "tap -a hyper", "hid -capslock", "tap ~lcmd", "removed Keyboard 1"}));
    EXPECT_EQ(road.written(), (Lines{"-a", "-lcmd", "-lctrl", "-lopt"}));
    EXPECT_EQ(road.modifiers.heldFlags(), platform::kFlagShift);
    EXPECT_FALSE(first->setUserKeyMapping(kCapsLockAsCommand));
    EXPECT_EQ(service(road, 0), second);
    EXPECT_EQ(service(road, 1), nullptr);
    // The other keyboard's shift was still down.
    road.keyRoad->close();
    EXPECT_EQ(road.written(), Lines{"-lshift"});
}

TEST_F(KeyRoadTest, PostedEventsPassTheTapsAndTheLockFollowsTheApplicationOnce)
{
    // The input loop hands both to the road.
    int lockRequests = 0;
    road.modifiers.onLockRequest([&](bool) {
        ++lockRequests;
        road.keyRoad->add(KeyRoad::CapsLockChanged{});
    });
    road.poster.onPost([&](const platform::Event& event) { road.keyRoad->add(event); });

    road.tap(first, "capslock");
    EXPECT_EQ(road.written(), kCapsLockTap);
    road.modifiers.setCapsLockState(true);
    EXPECT_EQ(lockRequests, 0);
    road.modifiers.setCapsLockState(false);
    EXPECT_EQ(lockRequests, 1);
    EXPECT_EQ(road.written(), kCapsLockTap);

    ASSERT_TRUE(service(road, 0)->setUserKeyMapping(kCapsLockAsCommand));
    road.key(first, "capslock", true);
    forgetSoFar();
    const auto source = road.poster.createEventSource(platform::EventSourceState::privateState);
    for (const bool down : {true, false}) {
        road.poster.post(*source->createKeyboardEvent(*platform::KeyTable::byName("b")->keyCode, down));
    }
    road.key(first, "capslock", false);
    EXPECT_EQ(road.hyperKey.take(), (Lines{"tap +b hyper", "tap -b hyper", "hid -capslock", "tap ~lcmd"}));
    EXPECT_EQ(road.written(), join({kHyperDown, {"+b", "-b"}, kCapsHyperUp}));
    EXPECT_FALSE(road.modifiers.capsLockState());
}

TEST_F(KeyRoadTest, AKeyTheTableDoesNotKnowGoesOutAsTheKernelNamedIt)
{
    forgetSoFar();
    const auto press = [&](std::uint32_t page, std::uint32_t usage) {
        road.change(first, {Kind::down, kPlayPause, page, usage});
        road.change(first, {Kind::up, kPlayPause, page, usage});
    };

    // Under a held shift, which it leaves down: as a keyboard without usages reports it, with
    // nothing to tell the listener or the taps; then as a USB keyboard reports it, with its
    // consumer usage.
    road.key(first, "lshift", true);
    press(0, 0);
    press(0x0C, 0xCD);
    road.key(first, "lshift", false);

    EXPECT_EQ(road.written(), (Lines{"+lshift", "+164", "-164", "+164", "-164", "-lshift"}));
    EXPECT_EQ(road.hyperKey.take(), (Lines{"hid +lshift", "tap ~lshift", "hid +12:205", "hid -12:205",
                                           "hid -lshift", "tap ~lshift"}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
