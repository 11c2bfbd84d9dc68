#pragma once

#include "platform/HidEventSystem.h"
#include "platform/HidManager.h"
#include "platform/MatchingHidManager.h"
#include "platform/sim/SimKeyboard.h"
#include "platform/sim/SimPointingDevice.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::sim {

class DesktopLock;
struct Faults;
class Transcript;
class WindowServer;

// The HID side of the simulated desktop: the connected keyboards and pointing devices, the HID
// managers that processes created, and the event system's list of services. A key press reaches every
// matching HID manager as a raw value first; then the keyboard's mapping applies and the window
// server turns the mapped key into an event.
class HidStack final : public platform::HidEventSystem, public platform::HidManagerFactory {
public:
    HidStack(DesktopLock& lock, Transcript& transcript, Faults& faults, WindowServer& windowServer);

    SimKeyboard& connect(const std::string& name, SimKeyboard::Properties properties);
    void connectPointingDevice(const std::string& name, SimHidDevice::Properties properties,
                               SimHidDevice::Properties serviceProperties);
    // A keyboard's keys still down go up first, as the real backend lets them up.
    void unplug(const std::string& name);
    SimKeyboard* keyboard(const std::string& name) const;

    // A physical key of that keyboard goes down or up.
    void key(const std::string& name, HidKey key, bool down);
    // The same for a key of the key table, by its name ("a", "capslock").
    void key(const std::string& name, std::string_view keyName, bool down);

    std::shared_ptr<platform::HidManager> createHidManager() override;

    std::optional<std::vector<std::shared_ptr<platform::HidServiceClient>>> copyServices() override;

private:
    std::shared_ptr<SimHidDevice> find(const std::string& name) const;
    void add(const std::shared_ptr<SimHidDevice>& device);
    // What a HID manager's open returns: success, unless a fault is armed for it.
    platform::HidResult openResult();
    // A key of the keyboard going down or up, raw to the HID managers and mapped to the window server.
    void send(const std::shared_ptr<SimKeyboard>& keyboard, HidKey key, bool down);
    void sendRawValue(const std::shared_ptr<SimKeyboard>& keyboard, HidKey key, bool down);
    template <class Action> void forEachManager(Action action);

    DesktopLock& lock_;
    Transcript& transcript_;
    Faults& faults_;
    WindowServer& windowServer_;
    std::vector<std::shared_ptr<SimHidDevice>> devices_;
    std::vector<std::weak_ptr<platform::MatchingHidManager>> managers_;
};

}  // namespace veltrane::sim
