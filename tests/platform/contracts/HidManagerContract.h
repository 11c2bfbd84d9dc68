#pragma once

#include "platform/HidProperties.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace veltrane::contracts {

// What every HID manager must do, written once against the port. A backend runs it with
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, HidManagerContract, Harness), where Harness is default
// constructible with no keyboard connected and has
//   const platform::Platform& platform();
//   void connect(const std::string& name, std::int64_t vendor, std::int64_t product);  // a keyboard
//   void unplug(const std::string& name);
//   void key(const std::string& keyboard, std::string_view keyName, bool down);  // a key-table name
//   void settle();  // returns once the callbacks of what happened so far have run
template <class Harness> class HidManagerContract : public ::testing::Test {
protected:
    // A keyboard manager whose callbacks note what they see, and whether on its queue.
    std::shared_ptr<platform::HidManager> keyboardManager()
    {
        auto manager = backend.platform().hidManagers.createHidManager();
        manager->setDeviceMatching({{1, 6}});
        manager->registerDeviceMatchingCallback([this](const auto& device) { noteDevice("added", *device); });
        manager->registerDeviceRemovalCallback(
            [this](const auto& device) { noteDevice("removed", *device); });
        manager->registerInputValueCallback(
            [this](platform::HidResult result, const platform::HidValue& value) {
                const auto vendor = value.device
                                        ? platform::integerProperty(*value.device, platform::kHidVendorId)
                                        : std::nullopt;
                note("value " + std::to_string(value.usagePage) + ":" + std::to_string(value.usage) + "=" +
                     std::to_string(value.integerValue) + " vendor " + std::to_string(vendor.value_or(-1)) +
                     (result == platform::kHidSuccess ? "" : " failed"));
            });
        return manager;
    }
    void noteDevice(const std::string& what, const platform::HidDevice& device)
    {
        const auto vendor = platform::integerProperty(device, platform::kHidVendorId);
        const auto product = platform::integerProperty(device, platform::kHidProductId);
        const bool located = platform::unsignedProperty(device, platform::kHidLocationId).has_value();
        note(what + " " + std::to_string(vendor.value_or(-1)) + ":" + std::to_string(product.value_or(-1)) +
             (located ? "" : " without location"));
    }
    void note(const std::string& what)
    {
        const std::lock_guard lock(mutex);
        noted.push_back(what + (queue->isCurrent() ? "" : " off its queue"));
    }
    // What was noted since the last call.
    std::vector<std::string> seen()
    {
        backend.settle();
        const std::lock_guard lock(mutex);
        return std::exchange(noted, {});
    }

    Harness backend;
    std::shared_ptr<platform::Queue> queue = backend.platform().dispatch.makeSerialQueue("hid");
    std::mutex mutex;
    std::vector<std::string> noted;
};

TYPED_TEST_SUITE_P(HidManagerContract);

// Keyboards already there when the manager is scheduled are reported then; later ones as they come
// and go, each with its vendor, product and location. Input values come only while the manager is
// open and scheduled, as the keyboard reports them: before the key mapping that the event system
// writes to it.
TYPED_TEST_P(HidManagerContract, ReportsKeyboardsAndTheirRawValuesOnlyWhileOpenAndScheduled)
{
    auto& harness = this->backend;
    harness.connect("first", 0x5AC, 0x27E);
    auto manager = this->keyboardManager();
    harness.key("first", "a", true);
    manager->schedule(*this->queue);
    harness.key("first", "a", false);
    EXPECT_EQ(this->seen(), std::vector<std::string>{"added 1452:638"});

    ASSERT_EQ(manager->open(), platform::kHidSuccess);
    const auto services = harness.platform().hidEventSystem.copyServices();
    ASSERT_TRUE(services.has_value());
    for (const auto& service : *services) {
        EXPECT_TRUE(service->setUserKeyMapping({{0x700000039, 0x700000029}}));
    }
    harness.key("first", "capslock", true);
    harness.key("first", "capslock", false);
    harness.connect("second", 0x46D, 0xC31C);
    harness.unplug("first");
    EXPECT_EQ(this->seen(), (std::vector<std::string>{"value 7:57=1 vendor 1452", "value 7:57=0 vendor 1452",
                                                      "added 1133:49948", "removed 1452:638"}));

    manager->unschedule();
    harness.key("second", "a", true);
    harness.unplug("second");
    harness.connect("third", 0x5AC, 0x27E);
    manager->schedule(*this->queue);
    manager->close();
    harness.key("third", "a", true);
    EXPECT_EQ(this->seen(), std::vector<std::string>{"added 1452:638"});
}

REGISTER_TYPED_TEST_SUITE_P(HidManagerContract, ReportsKeyboardsAndTheirRawValuesOnlyWhileOpenAndScheduled);

}  // namespace veltrane::contracts
