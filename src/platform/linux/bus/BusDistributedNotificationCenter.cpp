#include "platform/linux/bus/BusDistributedNotificationCenter.h"

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/bus/BusReply.h"

#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace veltrane::linuxbackend {

namespace {

struct SignalName {
    std::string interface;
    std::string member;
};

// The interface is everything before the last dot; a name without one cannot be sent, which
// emitting reports.
SignalName signalName(const std::string& name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        return {};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}

}  // namespace

BusDistributedNotificationCenter::BusDistributedNotificationCenter(Reactor& reactor,
                                                                   platform::Queue& mainQueue,
                                                                   const std::string& address,
                                                                   const std::string& presence)
    : local_(mainQueue)
{
    try {
        connect(reactor, address, presence);
    } catch (const std::exception& error) {
        problem_ = error.what();
        bus_.reset();
    }
}

// One connection posts and listens: the bus hands a signal back to its sender when the sender
// listens for it.
void BusDistributedNotificationCenter::connect(Reactor& reactor, const std::string& address,
                                               const std::string& presence)
{
    bus_ = std::make_unique<BusConnection>(BusConnection::Kind::session, address, reactor);
    const int matched = sd_bus_match_signal(
        bus_->get(), nullptr, nullptr, kPath, nullptr, nullptr,
        forwardTo<BusDistributedNotificationCenter, &BusDistributedNotificationCenter::onSignal>, this);
    if (matched < 0) {
        throw std::runtime_error("cannot listen on the session bus: " +
                                 BusConnection::describe(nullptr, matched));
    }
    if (!presence.empty()) {
        // In the queue behind a former owner that is on its way out (a helper told to go as the next
        // one starts), the name comes to this one when that one leaves.
        const int owned = sd_bus_request_name(bus_->get(), presence.c_str(), SD_BUS_NAME_QUEUE);
        if (owned < 0) {
            throw std::runtime_error("cannot own " + presence +
                                     " on the session bus: " + BusConnection::describe(nullptr, owned));
        }
    }
}

void BusDistributedNotificationCenter::post(const std::string& name, const std::optional<std::string>& object)
{
    if (!bus_) {
        local_.post(name, object);
        return;
    }
    const auto [interface, member] = signalName(name);
    sd_bus* bus = bus_->get();
    const int sent =
        object ? sd_bus_emit_signal(bus, kPath, interface.c_str(), member.c_str(), "s", object->c_str())
               : sd_bus_emit_signal(bus, kPath, interface.c_str(), member.c_str(), nullptr);
    if (sent == -EINVAL) {
        throw std::invalid_argument("cannot post \"" + name +
                                    "\" on the bus: it needs an interface and a member, and a UTF-8 object");
    }
    // Out before the poster goes on: a program it starts next must not hear what was said before.
    sd_bus_flush(bus);
}

platform::DistributedNotificationCenter::Token
BusDistributedNotificationCenter::observe(const std::string& name, const std::optional<std::string>& object,
                                          Handler handler)
{
    return local_.observe(name, object, std::move(handler));
}

void BusDistributedNotificationCenter::removeObserver(Token token)
{
    local_.removeObserver(token);
}

std::vector<std::string> BusDistributedNotificationCenter::namesOnBus() const
{
    if (!bus_) {
        return {};
    }
    // Answered by the bus itself, from what it holds: a wait as short as a call can be.
    const BusReply reply(bus_->get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "ListNames", nullptr);
    return reply.ok() ? wellKnownNamesIn(reply.message()) : std::vector<std::string>();
}

std::vector<std::string> BusDistributedNotificationCenter::wellKnownNamesIn(sd_bus_message* reply)
{
    // Reading a list of strings would take a list of signatures or object paths too.
    char** names = nullptr;
    if (sd_bus_message_has_signature(reply, "as") == 0 || sd_bus_message_read_strv(reply, &names) < 0 ||
        names == nullptr) {
        return {};
    }
    std::vector<std::string> wellKnown;
    for (char** name = names; *name != nullptr; ++name) {
        // Unique names (":1.42") stand for connections, not for programs.
        if (**name != ':' && std::string_view(*name) != "org.freedesktop.DBus") {
            wellKnown.emplace_back(*name);
        }
        std::free(*name);
    }
    std::free(names);
    return wellKnown;
}

void BusDistributedNotificationCenter::onSignal(sd_bus_message* signal)
{
    if (const auto notification = notificationIn(signal)) {
        local_.post(notification->name, notification->object);
    }
}

std::optional<BusDistributedNotificationCenter::Notification>
BusDistributedNotificationCenter::notificationIn(sd_bus_message* signal)
{
    const char* interface = sd_bus_message_get_interface(signal);
    const char* member = sd_bus_message_get_member(signal);
    if (interface == nullptr || member == nullptr) {
        return std::nullopt;
    }
    Notification notification{std::string(interface) + "." + member, std::nullopt};
    if (sd_bus_message_has_signature(signal, "s") != 0) {
        const char* text = nullptr;
        if (sd_bus_message_read(signal, "s", &text) < 0) {
            return std::nullopt;
        }
        notification.object = text;
    } else if (sd_bus_message_has_signature(signal, "") == 0) {
        return std::nullopt;
    }
    return notification;
}

}  // namespace veltrane::linuxbackend
