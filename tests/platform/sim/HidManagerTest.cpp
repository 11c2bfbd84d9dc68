#include "SimTest.h"

namespace veltrane::sim {
namespace {

constexpr HidKey kA{7, 0x04};

class HidManagerTest : public testing::SimTest {
protected:
    std::shared_ptr<platform::HidManager> keyboardManager()
    {
        auto manager = platform().hidManagers.createHidManager();
        manager->setDeviceMatching({{1, 6}});
        manager->registerInputValueCallback([this](platform::HidResult result,
                                                   const platform::HidValue& value) {
            desktop_.transcript().record("value",
                                         std::to_string(value.usage) + " result=" + std::to_string(result));
        });
        return manager;
    }
    void pressA(const std::string& keyboard)
    {
        desktop_.hid().key(keyboard, kA, true);
        settle();
    }

    std::shared_ptr<platform::Queue> hidQueue = platform().dispatch.makeSerialQueue("hidQueue");
};

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
