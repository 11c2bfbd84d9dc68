#include "EventTapContract.h"
#include "HidManagerContract.h"
#include "QueueContract.h"
#include "UserDefaultsContract.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/Scheduler.h"
#include "platform/sim/SimQueue.h"
#include "platform/sim/SimUserDefaults.h"

namespace veltrane::sim {

// One running process of the application on a fresh desktop, its ports under test.
class SimHarness {
public:
    SimHarness() : process_(desktop_.launch()) { settle(); }
    SimHarness(const SimHarness&) = delete;
    SimHarness& operator=(const SimHarness&) = delete;

    const platform::Platform& platform() { return process_.platform(); }
    void settle() { desktop_.scheduler().runUntilIdle(); }
    void onMain(const std::function<void()>& task)
    {
        process_.mainQueue().async(task);
        settle();
    }
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
        const auto lines = desktop_.transcript().lines();
        for (; read_ < lines.size(); ++read_) {
            if (lines[read_].kind == "deliver") {
                texts.push_back(lines[read_].text);
            }
        }
        return texts;
    }

private:
    Desktop desktop_;
    SimProcess& process_;
    std::uint64_t nextLocation_ = 0x14200000;
    std::size_t read_ = 0;
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
