#include "platform/linux/road/InputLoop.h"

#include "platform/linux/devices/DeviceClassifier.h"

#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

constexpr auto kReleaseGrace = std::chrono::milliseconds(100);

LinuxKeyboard::Identity identify(const DeviceCapabilities& device)
{
    return {device.name, device.vendor, device.product, DeviceClassifier::locationId(device)};
}

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

InputLoop::InputLoop(Ports ports, Log log) : ports_(ports), log_(std::move(log))
{
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot make the input thread's event");
    }
}

InputLoop::~InputLoop()
{
    stop();
    ::close(wakeFd_);
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
    stopping_ = false;
    virtualKeyboard_ = VirtualDevice::keyboard();
    watcher_ = std::make_unique<DeviceWatcher>();
    log_(std::string("Following input devices through ") + watcher_->source());
    auto pipeline = std::make_unique<KeyPipeline>(
        ports_.hid, ports_.taps, ports_.modifiers,
        [this](std::span<const input_event> events) { write(events); },
        [this](std::span<const input_event> events) {
            // Set before the first report of a mouse reaches the road.
            if (virtualPointer_) {
                virtualPointer_->write(events);
            }
        });
    road_ = KeyRoad::create(std::move(pipeline), ports_.hid, ports_.mainQueue);
    ports_.taps.onWantedMaskChange([this] {
        wantedChanged_ = true;
        wake();
    });
    ports_.poster.onPost([road = road_](const platform::Event& event) { road->add(event); });
    // The lock has changed already: the lights follow in the next round, the desktop's lock once the
    // road has tapped caps lock.
    ports_.modifiers.onLockRequest([this](bool) {
        road_->add(KeyRoad::CapsLockChanged{});
        wake();
    });
    bool allowed = false;
    bool refused = false;
    for (const auto& node : DeviceWatcher::presentNodes()) {
        (attach(node) ? allowed : refused) = true;
    }
    permitted_ = permittedWith(allowed, refused);
    ports_.hid.setPermitted(permitted_);
    thread_ = std::thread([this] { run(); });
}

void InputLoop::stop()
{
    if (!thread_.joinable()) {
        return;
    }
    stopping_ = true;
    wake();
    thread_.join();
    // Keys read but not yet through the pipeline are dropped: every key goes up anyway.
    road_->close();
    // The kernel discards what a reader has not read yet when a device goes away: give the
    // desktop a moment to see the keys go up.
    std::this_thread::sleep_for(kReleaseGrace);
    for (const auto& attached : attached_) {
        if (attached->keyboard) {
            ports_.hid.disconnect(attached->keyboard);
        }
    }
    attached_.clear();
    virtualKeyboard_.reset();
    virtualPointer_.reset();
}

void InputLoop::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
}

void InputLoop::run()
{
    while (!stopping_) {
        pollOnce();
    }
}

void InputLoop::pollOnce()
{
    pollFds_.assign({{wakeFd_, POLLIN, 0}, {watcher_->fd(), POLLIN, 0}, {virtualKeyboard_->fd(), POLLIN, 0}});
    for (const auto& attached : attached_) {
        pollFds_.push_back({attached->device->fd(), POLLIN, 0});
    }
    if (::poll(pollFds_.data(), pollFds_.size(), -1) < 0) {
        if (errno != EINTR) {
            pause(pollBackoff_.failed(errno, log_));
        }
        return;
    }
    pollBackoff_.succeeded(log_);
    if (pollFds_[0].revents != 0) {
        drainWake();
    }
    if (pollFds_[1].revents != 0) {
        readWatcher();
    }
    if (pollFds_[2].revents != 0) {
        readLight();
    }
    if (wantedChanged_.exchange(false)) {
        followWantedMask();
    }
    gather();
    showCapsLock();
}

// A stop ends the pause; what else woke the thread waits for the next round that polls.
void InputLoop::pause(std::chrono::milliseconds wait)
{
    pollfd wake{wakeFd_, POLLIN, 0};
    if (::poll(&wake, 1, static_cast<int>(wait.count())) > 0) {
        drainWake();
    }
}

void InputLoop::drainWake()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(wakeFd_, &count, sizeof count);
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
}

void InputLoop::readWatcher()
{
    // A device that goes away says so itself: reading it fails once its last events are read.
    for (const auto& node : watcher_->read()) {
        attach(node);
    }
}

void InputLoop::readLight()
{
    if (const auto light = virtualKeyboard_->readCapsLockLight()) {
        ports_.modifiers.adoptCapsLock(*light);
    }
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
    if (attached->points && attached->report.add(event)) {
        fresh_.emplace_back(time, KeyRoad::Pointer{attached->report.take()});
    }
    if (!attached->keyboard || (attached->points && PointerFrame::isPointerEvent(event))) {
        return;
    }
    using Kind = KeyDecoder::Change::Kind;
    const auto change = attached->decoder.feed(event);
    if (change.kind == Kind::down || change.kind == Kind::up) {
        fresh_.emplace_back(time, KeyRoad::Key{attached->keyboard, change});
    } else if (change.kind == Kind::dropped) {
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
    if (!verdict.typesKeys() && !verdict.points()) {
        return true;
    }
    const auto& capabilities = device->capabilities();
    log_(std::string(verdict.typesKeys() ? "Keyboard" : "Mouse") + " connected: " + capabilities.name + " (" +
         node + ")");
    auto keyboard = verdict.typesKeys() ? std::make_shared<LinuxKeyboard>(identify(capabilities)) : nullptr;
    const auto& attached = attached_.emplace_back(std::make_shared<Attached>(Attached{
        std::move(device), KeyDecoder(capabilities.bus), keyboard, verdict.points(), PointerFrame()}));
    if (keyboard) {
        ports_.hid.connect(keyboard);
        shownCapsLock_.reset();
    }
    if (keyboard || pointerWanted()) {
        if (attached->points && !virtualPointer_) {
            virtualPointer_ = VirtualDevice::pointer();
        }
        attached->device->grabWhenIdle();
    }
    return true;
}

void InputLoop::detach(const std::shared_ptr<Attached>& attached, std::int64_t time)
{
    const auto& device = *attached->device;
    log_(std::string(attached->keyboard ? "Keyboard" : "Mouse") +
         " disconnected: " + device.capabilities().name + " (" + device.node() + ")");
    auto buttons = attached->points && device.grabbed() ? buttonsUp(device) : std::vector<input_event>{};
    // After its keys already read.
    fresh_.emplace_back(time, KeyRoad::Gone{attached->keyboard, std::move(buttons)});
}

void InputLoop::followWantedMask()
{
    const bool wanted = pointerWanted();
    for (const auto& attached : attached_) {
        if (attached->keyboard || !attached->points || attached->device->grabbed() == wanted) {
            continue;
        }
        if (wanted) {
            if (!virtualPointer_) {
                virtualPointer_ = VirtualDevice::pointer();
            }
            attached->device->grabWhenIdle();
        } else {
            // The buttons it holds go up here; their releases then come to the desktop from the
            // mouse itself, for buttons the desktop never saw go down, which it ignores.
            if (auto report = buttonsUp(*attached->device); !report.empty()) {
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

std::vector<input_event> InputLoop::buttonsUp(const InputDevice& device)
{
    auto buttons = device.keysDown();
    std::erase_if(buttons, [](std::uint16_t code) { return !PointerFrame::isButton(code); });
    return PointerFrame::release(buttons);
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

void InputLoop::write(std::span<const input_event> events)
{
    if (!virtualKeyboard_->write(events) && !writeFailed_) {
        writeFailed_ = true;
        log_(std::string("Cannot write to the virtual keyboard: ") + std::strerror(errno));
    }
}

}  // namespace veltrane::linuxbackend
