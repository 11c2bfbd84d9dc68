#include "EventTapContract.h"
#include "HidManagerContract.h"
#include "QueueContract.h"
#include "SimTest.h"
#include "UserDefaultsContract.h"
#include "platform/sim/Scheduler.h"
#include "platform/sim/SimQueue.h"
#include "platform/sim/SimUserDefaults.h"

namespace veltrane::sim {

// One running process of the application on a fresh desktop, its ports under test: the desktop of
// a test on the simulator, driven by the contract's test instead.
class SimHarness : public testing::SimTest {
public:
    using SimTest::onMain;
    using SimTest::platform;
    using SimTest::settle;
    // Only the contract's tests run.
    void TestBody() override {}
    void connect(const std::string& name, std::int64_t vendor, std::int64_t product)
    {
        desktop_.hid().connect(name, {{std::string(platform::kHidVendorId), vendor},
                                      {std::string(platform::kHidProductId), product},
                                      {std::string(platform::kHidLocationId), nextLocation_++}});
    }
    void unplug(const std::string& name) { desktop_.hid().unplug(name); }
    void key(const std::string& keyboard, std::string_view keyName, bool down)
    {
        desktop_.hid().key(keyboard, keyName, down);
        settle();
    }
    void type(std::string_view keyName)
    {
        key("kb", keyName, true);
        key("kb", keyName, false);
    }
    std::vector<std::string> delivered()
    {
        std::vector<std::string> texts;
        for (const auto& line : desktop_.transcript().lines()) {
            if (line.kind == "deliver") {
                texts.push_back(line.text);
            }
        }
        desktop_.transcript().clear();
        return texts;
    }

private:
    std::uint64_t nextLocation_ = 0x14200000;
};

struct SimKeyboardHarness : SimHarness {
    SimKeyboardHarness() { connect("kb", 0x5AC, 0x27E); }
};

// Virtual time: passing time is advancing the scheduler.
struct SimQueueHarness {
    // A scenario whose task throws fails, rather than going on as if nothing happened.
    static constexpr bool faultsEscape = true;

    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        return std::make_shared<SimQueue>(scheduler, label, nullptr);
    }
    void pass(double seconds) { scheduler.advance(seconds); }
    double now() const { return scheduler.nowSeconds(); }

    Scheduler scheduler;
};

struct SimDefaultsHarness {
    std::unique_ptr<platform::UserDefaults> open() { return std::make_unique<SimUserDefaults>(domain); }

    platform::DefaultsDomain domain;
};

}  // namespace veltrane::sim

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Sim, HidManagerContract, sim::SimHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(Sim, EventTapContract, sim::SimKeyboardHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(Sim, QueueContract, sim::SimQueueHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(Sim, UserDefaultsContract, sim::SimDefaultsHarness);
}  // namespace veltrane::contracts
