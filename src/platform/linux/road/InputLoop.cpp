#include "platform/linux/road/InputLoop.h"

#include "platform/linux/devices/DeviceClassifier.h"

#include <sys/epoll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <thread>

namespace veltrane::linuxbackend {

namespace {

constexpr auto kReleaseGrace = std::chrono::milliseconds(100);

// The clock the devices stamp their events with.
std::int64_t monotonicMicroseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000 + now.tv_nsec / 1'000;
}

// Stable, and without the buffer std::stable_sort allocates: a round holds a handful of entries,
// each device's already in order.
template <class Timed> void sortByTime(Timed& timed)
{
    const auto earlier = [](const auto& left, const auto& right) { return left.first < right.first; };
    for (auto entry = timed.begin(); entry != timed.end(); ++entry) {
        std::rotate(std::upper_bound(timed.begin(), entry, *entry, earlier), entry, std::next(entry));
    }
}

}  // namespace

InputLoop::InputLoop(Ports ports, Log log) : ports_(ports), log_(std::move(log)) {}

InputLoop::~InputLoop()
{
    stop();
}

std::optional<std::string> InputLoop::permissionProblem()
{
    if (::access("/dev/uinput", W_OK) != 0) {
        return std::string("cannot open /dev/uinput for writing: ") + std::strerror(errno);
    }
    bool allowed = false;
    bool refused = false;
    for (const auto& node : DeviceWatcher::presentNodes()) {
        (::access(node.c_str(), R_OK) == 0 ? allowed : refused) = true;
    }
    if (!permittedWith(allowed, refused)) {
        return std::string("some input devices cannot be read");
    }
    return std::nullopt;
}

bool InputLoop::permittedWith(bool allowed, bool refused)
{
    // A device of another group may stay closed to us; all of them closed means no permission.
    return allowed || !refused;
}

void InputLoop::start()
{
    virtualKeyboard_ = std::make_unique<VirtualOutput>(VirtualDevice::keyboard(), "the virtual keyboard",
                                                       ports_.reactor, log_);
    watcher_ = std::make_unique<DeviceWatcher>();
    log_(std::string("Following input devices through ") + watcher_->source());
    auto pipeline = std::make_unique<KeyPipeline>(
        ports_.hid, ports_.taps, ports_.modifiers,
        [this](std::span<const input_event> events) { virtualKeyboard_->write(events); },
        [this](std::span<const input_event> events) {
            // Set before the first report of a mouse reaches the road.
            if (virtualPointer_) {
                virtualPointer_->write(events);
            }
        });
    road_ = KeyRoad::create(std::move(pipeline), ports_.hid, ports_.mainQueue);
    *started_ = true;
    ports_.taps.onWantedMaskChange([this] { whileStarted([this] { followWantedMask(); }); });
    ports_.poster.onPost([road = road_](const platform::Event& event) { road->add(event); });
    // The lock has changed already: the desktop's lock follows once the road has tapped caps lock,
    // the lights at once.
    ports_.modifiers.onLockRequest([this](bool) {
        road_->add(KeyRoad::CapsLockChanged{});
        whileStarted([this] { showCapsLock(); });
    });
    watcherReadable_ = watch("the input devices that come", watcher_->fd(), [this] { readWatcher(); });
    lightReadable_ =
        watch("the virtual keyboard's lights", virtualKeyboard_->device().fd(), [this] { readLight(); });
    bool allowed = false;
    bool refused = false;
    for (const auto& node : DeviceWatcher::presentNodes()) {
        (attach(node) ? allowed : refused) = true;
    }
    permitted_ = permittedWith(allowed, refused);
    ports_.hid.setPermitted(permitted_);
    showCapsLock();
}

void InputLoop::stop()
{
    if (!*started_) {
        return;
    }
    *started_ = false;
    watcherReadable_.reset();
    lightReadable_.reset();
    // Keys read but not yet through the pipeline are dropped: every key goes up anyway.
    road_->close();
    // The kernel discards what a reader has not read yet when a device goes away: give the
    // desktop a moment to see the keys go up.
    std::this_thread::sleep_for(kReleaseGrace);
    for (const auto& attached : attached_) {
        if (attached->route.keyboard()) {
            ports_.hid.disconnect(attached->route.keyboard());
        }
        if (attached->route.touchpad()) {
            forgetTouchpad(attached->route.touchpad());
        }
    }
    attached_.clear();
    fresh_.clear();
    virtualKeyboard_.reset();
    virtualPointer_.reset();
}

Reactor::Source InputLoop::watch(const std::string& what, int fd, const std::function<void()>& read)
{
    // A device that hangs up says so when read, and leaves.
    return ports_.reactor.watch(what, fd, EPOLLIN, [read](std::uint32_t) { read(); });
}

void InputLoop::whileStarted(std::function<void()> work)
{
    ports_.mainQueue.async([started = std::weak_ptr(started_), work = std::move(work)] {
        if (const auto running = started.lock(); running && *running) {
            work();
        }
    });
}

void InputLoop::gather()
{
    // Keys of several keyboards go down the road in the order they were typed, whatever the order
    // the keyboards are read in. What came after a round began may be missing from a device read
    // earlier in the round, so it waits for the next round, which follows at once. Devices that go
    // away while being read leave the list.
    bool carried = false;
    do {
        const std::int64_t begun = monotonicMicroseconds();
        std::erase_if(attached_, [&](const auto& attached) { return !readDevice(attached, begun); });
        sortByTime(fresh_);
        const auto later = std::find_if(fresh_.begin(), fresh_.end(),
                                        [&](const auto& timed) { return timed.first > begun; });
        for (auto timed = fresh_.begin(); timed != later; ++timed) {
            road_->carry(std::move(timed->second));
            carried = true;
        }
        fresh_.erase(fresh_.begin(), later);
    } while (!fresh_.empty());
    if (carried) {
        road_->runCarried();
    }
    showCapsLock();
}

void InputLoop::readWatcher()
{
    // A device that goes away says so itself: reading it fails once its last events are read.
    for (const auto& node : watcher_->read()) {
        attach(node);
    }
    showCapsLock();
}

void InputLoop::readLight()
{
    if (const auto light = virtualKeyboard_->device().readCapsLockLight()) {
        ports_.modifiers.adoptCapsLock(*light);
    }
    showCapsLock();
}

bool InputLoop::readDevice(const std::shared_ptr<Attached>& attached, std::int64_t begun)
{
    // A device gone without a last word goes after all it said before.
    std::int64_t time = begun;
    const bool present = attached->device->read([&](const input_event& event) {
        time = std::int64_t{event.input_event_sec} * 1'000'000 + event.input_event_usec;
        take(attached, event, time);
    });
    if (!present) {
        detach(attached, time);
    }
    return present;
}

void InputLoop::take(const std::shared_ptr<Attached>& attached, const input_event& event, std::int64_t time)
{
    auto routed = attached->route.take(event);
    if (routed.work) {
        fresh_.emplace_back(time, std::move(*routed.work));
    } else if (routed.dropped) {
        log_("The kernel dropped events of " + attached->device->capabilities().name +
             ": keys taken up again from its state");
    }
}

bool InputLoop::attach(const std::string& node)
{
    if (std::any_of(attached_.begin(), attached_.end(),
                    [&](const auto& attached) { return attached->device->node() == node; })) {
        return true;
    }
    std::unique_ptr<InputDevice> device;
    try {
        device = std::make_unique<InputDevice>(node);
    } catch (const std::system_error& error) {
        log_(error.what());
        return error.code() != std::errc::permission_denied;
    }
    const auto verdict = DeviceClassifier::classify(device->capabilities());
    if (verdict.kind == DeviceClassifier::Kind::touchpad) {
        attachTouchpad(std::move(device));
        return true;
    }
    if (!verdict.typesKeys() && !verdict.points()) {
        return true;
    }
    const auto& capabilities = device->capabilities();
    auto keyboard =
        verdict.typesKeys() ? std::make_shared<LinuxKeyboard>(HidIdentity::of(capabilities)) : nullptr;
    const auto& attached = adopt(std::move(device), keyboard, nullptr, verdict.points());
    if (keyboard) {
        ports_.hid.connect(keyboard);
        shownCapsLock_.reset();
    }
    if (keyboard || pointerWanted()) {
        if (attached->route.points()) {
            makeVirtualPointer();
        }
        attached->device->grabWhenIdle();
    }
    return true;
}

void InputLoop::attachTouchpad(std::unique_ptr<InputDevice> device)
{
    const auto& capabilities = device->capabilities();
    auto touchpad = std::make_shared<LinuxTouchpad>(LinuxTouchpad::identify(capabilities),
                                                    TouchpadSurface::read(device->evdev()));
    touchpad->seed(device->evdev());
    device->readAlongside();
    adopt(std::move(device), nullptr, touchpad, false);
    ports_.multitouch.connect(touchpad);
    ports_.hid.connectPointing(touchpad);
}

const std::shared_ptr<InputLoop::Attached>& InputLoop::adopt(std::unique_ptr<InputDevice> device,
                                                             std::shared_ptr<LinuxKeyboard> keyboard,
                                                             std::shared_ptr<LinuxTouchpad> touchpad,
                                                             bool points)
{
    const auto bus = device->capabilities().bus;
    const auto& attached = attached_.emplace_back(std::make_shared<Attached>(
        Attached{std::move(device), DeviceRoute(bus, std::move(keyboard), std::move(touchpad), points), {}}));
    const auto& node = attached->device->node();
    log_(kindOf(*attached) + " connected: " + attached->device->capabilities().name + " (" + node + ")");
    attached->readable = watch(node, attached->device->fd(), [this] { gather(); });
    return attached;
}

void InputLoop::forgetTouchpad(const std::shared_ptr<LinuxTouchpad>& touchpad)
{
    ports_.multitouch.disconnect(touchpad);
    ports_.hid.disconnectPointing(touchpad);
}

std::string InputLoop::kindOf(const Attached& attached)
{
    if (attached.route.touchpad()) {
        return "Touchpad";
    }
    return attached.route.keyboard() ? "Keyboard" : "Mouse";
}

void InputLoop::detach(const std::shared_ptr<Attached>& attached, std::int64_t time)
{
    const auto& device = *attached->device;
    log_(kindOf(*attached) + " disconnected: " + device.capabilities().name + " (" + device.node() + ")");
    if (attached->route.touchpad()) {
        forgetTouchpad(attached->route.touchpad());
        return;
    }
    // After its keys already read.
    fresh_.emplace_back(time, attached->route.gone());
}

void InputLoop::followWantedMask()
{
    const bool wanted = pointerWanted();
    for (const auto& attached : attached_) {
        if (attached->route.keyboard() || !attached->route.points() ||
            attached->device->grabbed() == wanted) {
            continue;
        }
        if (wanted) {
            makeVirtualPointer();
            attached->device->grabWhenIdle();
        } else {
            // The buttons it holds go up here; their releases then come to the desktop from the
            // mouse itself, for buttons the desktop never saw go down, which it ignores.
            if (auto report = attached->route.releaseButtons(); !report.empty()) {
                road_->add(KeyRoad::Pointer{std::move(report)});
            }
            attached->device->ungrab();
        }
    }
}

bool InputLoop::pointerWanted() const
{
    using platform::EventType;
    constexpr auto bit = [](EventType type) { return platform::EventMask{1} << static_cast<unsigned>(type); };
    constexpr platform::EventMask kPointerTypes =
        bit(EventType::leftMouseDown) | bit(EventType::leftMouseUp) | bit(EventType::rightMouseDown) |
        bit(EventType::rightMouseUp) | bit(EventType::otherMouseDown) | bit(EventType::otherMouseUp) |
        bit(EventType::mouseMoved) | bit(EventType::leftMouseDragged) | bit(EventType::rightMouseDragged) |
        bit(EventType::otherMouseDragged) | bit(EventType::scrollWheel);
    return (ports_.taps.wantedMask() & kPointerTypes) != 0;
}

void InputLoop::showCapsLock()
{
    const bool on = ports_.modifiers.capsLockState();
    if (shownCapsLock_ == on) {
        return;
    }
    shownCapsLock_ = on;
    for (const auto& attached : attached_) {
        attached->device->setCapsLockLight(on);
    }
}

void InputLoop::makeVirtualPointer()
{
    if (!virtualPointer_) {
        virtualPointer_ = std::make_unique<VirtualOutput>(VirtualDevice::pointer(), "the virtual pointer",
                                                          ports_.reactor, log_);
    }
}

}  // namespace veltrane::linuxbackend
