#pragma once

#include "platform/DistributedNotificationCenter.h"
#include "platform/LocalDistributedNotificationCenter.h"
#include "platform/Queue.h"
#include "platform/linux/bus/BusConnection.h"

#include <systemd/sd-bus.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

class Reactor;

// Distributed notifications between a user's programs, as signals on the session bus: the
// notification "com.example.App.done" is the signal "done" of the interface "com.example.App",
// sent from one object path of ours, with its object, when it has one, as the only argument. Like
// any signal it reaches the poster's own observers too. Without a session bus notifications stay
// within the process, and problem() says why. The bus is served by the reactor, whose thread makes,
// uses and destroys the centre.
class BusDistributedNotificationCenter final : public platform::DistributedNotificationCenter {
public:
    // All notifications travel from this path, so that one match hears them all.
    static constexpr const char* kPath = "/com/marrowind/Veltrane/DistributedNotifications";

    // On the session bus, or on the bus at that address. With a presence, the centre owns that name
    // on the bus while it lives, or waits for it while another owns it: other programs learn by it
    // that this one runs.
    BusDistributedNotificationCenter(Reactor& reactor, platform::Queue& mainQueue,
                                     const std::string& address = {}, const std::string& presence = {});
    BusDistributedNotificationCenter(const BusDistributedNotificationCenter&) = delete;
    BusDistributedNotificationCenter& operator=(const BusDistributedNotificationCenter&) = delete;

    // Throws std::invalid_argument for a name that is not an interface and a
    // member joined by a dot, which no bus could carry.
    void post(const std::string& name, const std::optional<std::string>& object) override;
    Token observe(const std::string& name, const std::optional<std::string>& object,
                  Handler handler) override;
    void removeObserver(Token token) override;

    // The well-known names owned on the bus now: the programs that announce themselves there.
    std::vector<std::string> namesOnBus() const;
    // Empty while notifications travel on the bus; else why they do not.
    const std::string& problem() const { return problem_; }

    struct Notification {
        std::string name;
        std::optional<std::string> object;
    };
    // The notification a signal sent to kPath carries; nothing for one with other arguments, which
    // any program may send.
    static std::optional<Notification> notificationIn(sd_bus_message* signal);
    // The well-known names in the bus's answer to ListNames.
    static std::vector<std::string> wellKnownNamesIn(sd_bus_message* reply);

private:
    void connect(Reactor& reactor, const std::string& address, const std::string& presence);
    void onSignal(sd_bus_message* signal);

    platform::LocalDistributedNotificationCenter local_;
    std::string problem_;
    std::unique_ptr<BusConnection> bus_;
};

}  // namespace veltrane::linuxbackend
