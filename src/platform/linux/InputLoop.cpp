#include "platform/linux/InputLoop.h"

#include "platform/linux/input/DeviceClassifier.h"

#include <poll.h>
#include <sys/eventfd.h>
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

void InputLoop::start()
{
    virtualKeyboard_ = VirtualDevice::keyboard();
    watcher_ = std::make_unique<DeviceWatcher>();
    log_(std::string("Following input devices through ") + watcher_->source());
    pipeline_ = std::make_unique<KeyPipeline>(
        ports_.hid, ports_.taps, ports_.modifiers, ports_.mainQueue,
        [this](std::span<const input_event> events) { write(events); },
        [this](std::span<const input_event> events) {
            if (virtualPointer_) {
                virtualPointer_->write(events);
            }
        });
    ports_.taps.onWantedMaskChange([this] { send(WantedChanged{}); });
    ports_.poster.onPost([this](const platform::Event& event) { send(event); });
    ports_.modifiers.onLockRequest([this](bool) { send(CapsLockChanged{}); });
    bool allowed = false;
    bool refused = false;
    for (const auto& node : DeviceWatcher::presentNodes()) {
        (attach(node) ? allowed : refused) = true;
    }
    // A device of another group may stay closed to us; all of them closed means no permission.
    permitted_ = allowed || !refused;
    ports_.hid.setPermitted(permitted_);
    thread_ = std::thread([this] { run(); });
}

void InputLoop::stop()
{
    if (!thread_.joinable()) {
        return;
    }
    stopping_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
}

void InputLoop::send(Mail mail)
{
    {
        const std::lock_guard guard(mailMutex_);
        mail_.push_back(std::move(mail));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
}

void InputLoop::run()
{
    while (!stopping_) {
        pollOnce();
    }
    // Keys read but not yet through the pipeline are dropped: every key goes up anyway.
    work_.clear();
    pipeline_->releaseAll();
    // The kernel discards what a reader has not read yet when a device goes away: give the
    // desktop a moment to see the keys go up.
    std::this_thread::sleep_for(kReleaseGrace);
    for (const auto& attached : attached_) {
        ports_.hid.disconnect(attached->keyboard);
    }
    attached_.clear();
    virtualKeyboard_.reset();
    virtualPointer_.reset();
}

void InputLoop::pollOnce()
{
    std::vector<pollfd> fds{
        {wakeFd_, POLLIN, 0}, {watcher_->fd(), POLLIN, 0}, {virtualKeyboard_->fd(), POLLIN, 0}};
    for (const auto& attached : attached_) {
        fds.push_back({attached->device->fd(), POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), -1) < 0) {
        return;
    }
    if (fds[1].revents != 0) {
        readWatcher();
    }
    if (fds[2].revents != 0) {
        readLight();
    }
    gather();
    while (!work_.empty() && !stopping_) {
        const Work work = std::move(work_.front());
        work_.pop_front();
        process(work);
        gather();
    }
    showCapsLock();
}

void InputLoop::gather()
{
    readMail();
    // Keys of several keyboards go down the pipeline in the order they were typed, whatever the
    // order the keyboards are read in. Devices that go away while being read leave the list.
    Timed fresh;
    const auto attached = attached_;
    for (const auto& device : attached) {
        readDevice(device, fresh);
    }
    std::stable_sort(fresh.begin(), fresh.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    for (auto& [time, work] : fresh) {
        work_.push_back(std::move(work));
    }
}

void InputLoop::readMail()
{
    std::uint64_t count = 0;
    if (::read(wakeFd_, &count, sizeof count) != static_cast<ssize_t>(sizeof count)) {
        return;
    }
    std::vector<Mail> mail;
    {
        const std::lock_guard guard(mailMutex_);
        mail.swap(mail_);
    }
    for (auto& letter : mail) {
        std::visit([this](auto& item) { work_.emplace_back(std::move(item)); }, letter);
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

void InputLoop::readDevice(const std::shared_ptr<Attached>& attached, Timed& into)
{
    std::int64_t time = 0;
    const bool present = attached->device->read([&](const input_event& event) {
        time = std::int64_t{event.input_event_sec} * 1'000'000 + event.input_event_usec;
        take(attached, event, time, into);
    });
    if (!present) {
        detach(attached, into, time);
    }
}

void InputLoop::take(const std::shared_ptr<Attached>& attached, const input_event& event, std::int64_t time,
                     Timed& into)
{
    if (attached->points && attached->report.add(event)) {
        into.emplace_back(time, PointerWork{attached->report.take()});
    }
    if (!attached->keyboard || (attached->points && PointerFrame::isPointerEvent(event))) {
        return;
    }
    using Kind = KeyDecoder::Change::Kind;
    const auto change = attached->decoder.feed(event);
    if (change.kind == Kind::down || change.kind == Kind::up) {
        into.emplace_back(time, KeyWork{attached, change});
    } else if (change.kind == Kind::dropped) {
        log_("The kernel dropped events of " + attached->device->capabilities().name +
             ": keys taken up again from its state");
    }
}

void InputLoop::process(const Work& work)
{
    if (const auto* key = std::get_if<KeyWork>(&work)) {
        pipeline_->key(key->attached->keyboard, key->change);
    } else if (const auto* pointer = std::get_if<PointerWork>(&work)) {
        pipeline_->pointer(pointer->report);
    } else if (const auto* gone = std::get_if<Gone>(&work)) {
        forget(gone->attached);
    } else if (const auto* event = std::get_if<platform::Event>(&work)) {
        pipeline_->post(*event);
    } else if (std::holds_alternative<CapsLockChanged>(work)) {
        pipeline_->capsLockChanged();
    } else {
        followWantedMask();
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

void InputLoop::detach(const std::shared_ptr<Attached>& attached, Timed& into, std::int64_t time)
{
    // Its keys already read go down the pipeline first.
    into.emplace_back(time, Gone{attached});
    std::erase(attached_, attached);
}

void InputLoop::forget(const std::shared_ptr<Attached>& attached)
{
    const auto& device = *attached->device;
    log_(std::string(attached->keyboard ? "Keyboard" : "Mouse") +
         " disconnected: " + device.capabilities().name + " (" + device.node() + ")");
    if (attached->points && device.grabbed()) {
        releaseButtons(device);
    }
    if (attached->keyboard) {
        pipeline_->keyboardGone(attached->keyboard);
        ports_.hid.disconnect(attached->keyboard);
    }
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
            releaseButtons(*attached->device);
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

void InputLoop::releaseButtons(const InputDevice& device)
{
    std::vector<input_event> report;
    for (const auto code : device.keysDown()) {
        if (PointerFrame::isButton(code)) {
            report.push_back(input_event{{}, EV_KEY, code, 0});
        }
    }
    if (!report.empty()) {
        report.push_back(input_event{{}, EV_SYN, SYN_REPORT, 0});
        pipeline_->pointer(report);
    }
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
