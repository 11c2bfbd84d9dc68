// Any arguments in the D-Bus signals and answers the program reads: logind's PrepareForSleep, a
// session's PropertiesChanged, the answers to Get(Active), GetSession and Inhibit, a distributed
// notification and the answer to ListNames. A byte chooses the message (its top bit makes an answer
// an error); a notification's interface and member follow; then the signature of the arguments and
// their values. Checked on every message:
// - arguments of other types than expected say nothing: no value, session path, descriptor,
//   notification or name is read from them, nor from an error;
// - what is read is well formed: a session path is an object path, a lent descriptor is open, a
//   notification is named by its signal's interface and member, a well-known name is no unique name.

#include "BusMessageWriter.h"
#include "FuzzInput.h"
#include "platform/linux/bus/BusDistributedNotificationCenter.h"
#include "platform/linux/logind/LogindMessages.h"

#include <fcntl.h>
#include <sys/socket.h>

#include <cstdint>
#include <string>

namespace {

using veltrane::fuzz::BusMessageWriter;
using veltrane::fuzz::fail;
using veltrane::fuzz::FuzzInput;
using veltrane::linuxbackend::BusDistributedNotificationCenter;
using veltrane::linuxbackend::LogindMessages;

enum Kind { sleepSignal, sessionSignal, activeReply, sessionReply, inhibitReply, notification, namesReply };

// A connection that makes messages and sends none, its peer the other end of a socket pair.
sd_bus* bus()
{
    static sd_bus* const made = [] {
        sd_bus* bus = nullptr;
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) < 0 || sd_bus_new(&bus) < 0 ||
            sd_bus_set_fd(bus, ends[0], ends[0]) < 0 || sd_bus_start(bus) < 0) {
            fail("cannot make a connection to make messages with");
        }
        return bus;
    }();
    return made;
}

// The message, its arguments still to be written; nothing when sd-bus refuses its names.
sd_bus_message* message(Kind kind, bool error, const std::string& interface, const std::string& member)
{
    sd_bus_message* made = nullptr;
    if (kind == sleepSignal || kind == sessionSignal || kind == notification) {
        sd_bus_message_new_signal(bus(), &made, BusDistributedNotificationCenter::kPath, interface.c_str(),
                                  member.c_str());
        return made;
    }
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus(), &call, "org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.login1.Manager", "Call") >= 0 &&
        sd_bus_message_seal(call, 1, 0) >= 0) {
        error ? sd_bus_message_new_method_errorf(call, &made, "org.freedesktop.DBus.Error.AccessDenied", "no")
              : sd_bus_message_new_method_return(call, &made);
    }
    sd_bus_message_unref(call);
    return made;
}

void check(Kind kind, sd_bus_message* read, const std::string& signature, const std::string& interface,
           const std::string& member)
{
    const bool error = sd_bus_message_is_method_error(read, nullptr) != 0;
    const auto expects = [&](std::string_view prefix) { return !error && signature.starts_with(prefix); };
    const auto failIf = [&](bool broken, const std::string& what) {
        if (broken) {
            fail(what + " from the arguments " + signature);
        }
    };
    switch (kind) {
    case sleepSignal:
        failIf(LogindMessages::sleepStarting(read) && !expects("b"), "PrepareForSleep said something");
        break;
    case sessionSignal: {
        const auto change = LogindMessages::sessionChange(read);
        failIf(change && !change->active.empty() && !expects("sa{sv}"), "PropertiesChanged told Active");
        failIf(change && change->activeInvalidated && !expects("sa{sv}as") && !expects("sas"),
               "PropertiesChanged invalidated Active");
        break;
    }
    case activeReply:
        failIf(LogindMessages::active(read) && !expects("v"), "the answer to Get(Active) said something");
        break;
    case sessionReply: {
        const auto path = LogindMessages::sessionPath(read);
        failIf(path && (!expects("o") || !path->starts_with('/')),
               "GetSession gave a path " + path.value_or(""));
        break;
    }
    case inhibitReply: {
        const auto lent = LogindMessages::delay(read);
        failIf(lent && (!expects("h") || ::fcntl(*lent, F_GETFD) < 0), "Inhibit lent no open descriptor");
        break;
    }
    case notification: {
        const auto heard = BusDistributedNotificationCenter::notificationIn(read);
        failIf(heard && (heard->name != interface + "." + member || (signature != "" && signature != "s") ||
                         heard->object.has_value() != (signature == "s")),
               "a notification was read otherwise than sent");
        break;
    }
    default:
        for (const auto& name : BusDistributedNotificationCenter::wellKnownNamesIn(read)) {
            failIf(!expects("as") || name.starts_with(':') || name == "org.freedesktop.DBus",
                   "ListNames gave the name " + name);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int descriptor = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    FuzzInput input(data, size);
    const std::uint8_t chosen = input.byte();
    const auto kind = static_cast<Kind>((chosen & 0x7f) % (namesReply + 1));
    const bool named = kind == notification;
    // Names reach sd-bus as C strings.
    const auto name = [&input] { return std::string(input.text().c_str()); };
    const std::string interface = named                 ? name()
                                  : kind == sleepSignal ? "org.freedesktop.login1.Manager"
                                                        : "org.freedesktop.DBus.Properties";
    const std::string member = named ? name() : kind == sleepSignal ? "PrepareForSleep" : "PropertiesChanged";
    sd_bus_message* made = message(kind, (chosen & 0x80) != 0, interface, member);
    const std::string signature = input.text();
    if (made != nullptr && BusMessageWriter(made, input, descriptor).write(signature) &&
        sd_bus_message_seal(made, 2, 0) >= 0 && sd_bus_message_rewind(made, 1) >= 0) {
        check(kind, made, sd_bus_message_get_signature(made, 1), interface, member);
    }
    sd_bus_message_unref(made);
    return 0;
}
