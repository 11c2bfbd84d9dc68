#include "SimTest.h"

#include <algorithm>

namespace veltrane::sim {
namespace {

using platform::HidProperty;

constexpr HidKey kA{7, 0x04};

std::string describe(const HidProperty& property)
{
    if (const auto* number = std::get_if<std::int64_t>(&property)) {
        return std::to_string(*number);
    }
    if (const auto* location = std::get_if<std::uint64_t>(&property)) {
        return std::to_string(*location) + "u";
    }
    return "-";
}

class HidManagerTest : public testing::SimTest {
protected:
    std::shared_ptr<platform::HidManager> keyboardManager()
    {
        auto manager = platform().hidManagers.createHidManager();
        manager->setDeviceMatching({{1, 6}});
        manager->registerDeviceMatchingCallback([this](const auto& device) { record("added", *device); });
        manager->registerDeviceRemovalCallback([this](const auto& device) { record("removed", *device); });
        manager->registerInputValueCallback([this](platform::HidResult result,
                                                   const platform::HidValue& value) {
            EXPECT_TRUE(hidQueue->isCurrent());
            desktop_.transcript().record("value",
                                         std::to_string(value.usage) + " result=" + std::to_string(result));
        });
        return manager;
    }
    void record(const std::string& what, const platform::HidDevice& device)
    {
        EXPECT_TRUE(hidQueue->isCurrent());
        desktop_.transcript().record(what, describe(device.property(platform::kHidVendorId)) + " " +
                                               describe(device.property(platform::kHidLocationId)));
    }
    void pressA(const std::string& keyboard)
    {
        desktop_.hid().key(keyboard, kA, true);
        settle();
    }

    std::shared_ptr<platform::Queue> hidQueue = platform().dispatch.makeSerialQueue("hidQueue");
    std::vector<std::string> seen = {"added", "removed", "value"};
};

TEST_F(HidManagerTest, ReportsKeyboardsPresentAtSchedulingThenArrivalsAndDepartures)
{
    desktop_.hid().connect("kb1", {{std::string(platform::kHidVendorId), std::int64_t{0x5AC}},
                                   {std::string(platform::kHidLocationId), std::uint64_t{0x1420}}});
    auto manager = keyboardManager();
    settle();
    EXPECT_EQ(transcript(seen), "");

    manager->schedule(*hidQueue);
    settle();
    desktop_.hid().connect("kb2", {});
    desktop_.hid().unplug("kb1");
    settle();

    EXPECT_EQ(transcript(seen), "0.000 added 1452 5152u\n0.000 added - -\n0.000 removed 1452 5152u\n");
}

TEST_F(HidManagerTest, InputValuesFlowOnlyWhileOpenAndScheduled)
{
    desktop_.hid().connect("kb", {});
    auto manager = keyboardManager();
    manager->schedule(*hidQueue);
    pressA("kb");
    ASSERT_EQ(manager->open(), platform::kHidSuccess);
    pressA("kb");
    desktop_.hid().key("kb", kA, true);
    manager->unschedule();
    settle();
    manager->schedule(*hidQueue);
    manager->close();
    pressA("kb");

    EXPECT_EQ(transcript({"value"}), "0.000 value 4 result=0\n");
}

TEST_F(HidManagerTest, ArmedFaultsStrikeOnceEach)
{
    desktop_.hid().connect("kb", {});
    auto manager = keyboardManager();
    manager->schedule(*hidQueue);
    desktop_.faults().hidOpen = platform::kHidNotPermitted;
    EXPECT_EQ(manager->open(), platform::kHidNotPermitted);
    pressA("kb");
    EXPECT_EQ(manager->open(), platform::kHidSuccess);
    desktop_.faults().hidValue = -5;
    pressA("kb");
    pressA("kb");

    EXPECT_EQ(transcript({"value"}), "0.000 value 4 result=-5\n0.000 value 4 result=0\n");
}

TEST_F(HidManagerTest, TheEventSystemListsKeyboardsInOrderAndCanFailOrRefuse)
{
    desktop_.hid().connect("kb1", {});
    desktop_.hid().connect("kb2", {});
    desktop_.faults().noServices = true;
    EXPECT_EQ(platform().hidEventSystem.copyServices(), std::nullopt);

    const auto services = platform().hidEventSystem.copyServices();
    ASSERT_TRUE(services.has_value());
    ASSERT_EQ(services->size(), 2u);
    EXPECT_TRUE((*services)[0]->conformsTo(1, 6));
    EXPECT_FALSE((*services)[0]->conformsTo(1, 2));

    desktop_.faults().refusingKeyboards.insert("kb2");
    const std::vector<platform::HidKeyMapping> mapping{{0x700000039, 0x700000029}};
    EXPECT_TRUE((*services)[0]->setUserKeyMapping(mapping));
    EXPECT_FALSE((*services)[1]->setUserKeyMapping(mapping));
    EXPECT_TRUE((*services)[1]->setUserKeyMapping(mapping));
    desktop_.hid().unplug("kb1");
    EXPECT_FALSE((*services)[0]->setUserKeyMapping(mapping));

    EXPECT_EQ(transcript({"keymap"}), "0.000 keymap kb1 0x700000039->0x700000029\n"
                                      "0.000 keymap kb2 refused\n"
                                      "0.000 keymap kb2 0x700000039->0x700000029\n");
}

}  // namespace
}  // namespace veltrane::sim
