#include "platform/linux/touch/ContactFrames.h"

#include <libevdev/libevdev.h>

#include <algorithm>
#include <utility>

namespace veltrane::linuxbackend {

namespace {

using platform::MTPoint;
using platform::MTTouch;
using platform::MTVector;

// A tenth of the pressure range, where desktop touchpad drivers take a touch to begin, gives the
// tracker's light-touch limit of 0.4.
constexpr double kStrengthPerPressure = 4.0;
// Without a pressure axis nothing tells a light touch, so none is taken for one.
constexpr float kFirmStrength = 1.0f;

double seconds(const input_event& event)
{
    return static_cast<double>(event.input_event_sec) + static_cast<double>(event.input_event_usec) / 1e6;
}

}  // namespace

ContactFrames::ContactFrames(const TouchpadSurface& surface, Sink sink)
    : surface_(surface), widthMillimetres_(surface.widthMillimetres()),
      heightMillimetres_(surface.heightMillimetres()), unitsPerMillimetre_(surface.xUnitsPerMillimetre()),
      sink_(std::move(sink)),
      slots_(static_cast<std::size_t>(std::clamp(surface.slots, 1, TouchpadSurface::kMostSlots)))
{
    frame_.reserve(slots_.size());
}

void ContactFrames::seed(int slot, const SlotValues& values)
{
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) {
        return;
    }
    Slot& seeded = slots_[static_cast<std::size_t>(slot)];
    seeded = Slot{};
    seeded.contact.values = values;
    seeded.contact.life = values.trackingId >= 0 ? Life::touching : Life::absent;
}

void ContactFrames::seed(const libevdev* device)
{
    const int count = std::min(static_cast<int>(slots_.size()), libevdev_get_num_slots(device));
    for (int slot = 0; slot < count; ++slot) {
        const auto value = [&](unsigned int code) {
            return libevdev_get_slot_value(device, static_cast<unsigned int>(slot), code);
        };
        seed(slot, {value(ABS_MT_TRACKING_ID), value(ABS_MT_POSITION_X), value(ABS_MT_POSITION_Y),
                    value(ABS_MT_TOUCH_MAJOR), value(ABS_MT_TOUCH_MINOR), value(ABS_MT_PRESSURE)});
    }
    // The kernel names a slot only when it changes, so its next values may be for this one.
    current_ = libevdev_get_current_slot(device);
}

// SYN_DROPPED needs nothing of its own: libevdev then replays how the pad differs from the state
// it already handed out, which is the state here, and ends the replay with SYN_REPORT.
void ContactFrames::feed(const input_event& event)
{
    if (event.type == EV_SYN && event.code == SYN_REPORT) {
        report(seconds(event));
    } else if (event.type == EV_ABS && event.code == ABS_MT_SLOT) {
        current_ = event.value;
    } else if (event.type == EV_ABS) {
        if (Slot* slot = currentSlot()) {
            setValue(*slot, event.code, event.value);
        }
    }
}

ContactFrames::Slot* ContactFrames::currentSlot()
{
    if (current_ < 0 || static_cast<std::size_t>(current_) >= slots_.size()) {
        return nullptr;
    }
    return &slots_[static_cast<std::size_t>(current_)];
}

void ContactFrames::setValue(Slot& slot, std::uint16_t code, std::int32_t value)
{
    SlotValues& values = slot.contact.values;
    switch (code) {
    case ABS_MT_TRACKING_ID:
        track(slot, value);
        break;
    case ABS_MT_POSITION_X:
        values.x = value;
        break;
    case ABS_MT_POSITION_Y:
        values.y = value;
        break;
    case ABS_MT_TOUCH_MAJOR:
        values.major = value;
        break;
    case ABS_MT_TOUCH_MINOR:
        values.minor = value;
        break;
    case ABS_MT_PRESSURE:
        values.pressure = value;
        break;
    default:
        break;
    }
}

// The slot keeps its values for the new contact: the kernel sends only the ones that differ.
void ContactFrames::track(Slot& slot, std::int32_t trackingId)
{
    Contact& contact = slot.contact;
    if (trackingId < 0) {
        lift(contact);
        return;
    }
    if (contact.life != Life::absent && trackingId == contact.values.trackingId) {
        return;
    }
    // A contact that frames have shown, or that was seeded, must be seen lifting before another
    // takes its path: a frame never holds two contacts with one path.
    if (contact.life == Life::touching || contact.life == Life::lifting) {
        slot.replaced = contact;
        lift(*slot.replaced);
    }
    contact.values.trackingId = trackingId;
    contact.life = Life::beginning;
    contact.lastPosition.reset();
}

void ContactFrames::lift(Contact& contact)
{
    // A contact that comes and goes between two reports was never shown, so it leaves unseen.
    if (contact.life == Life::beginning) {
        contact.life = Life::absent;
    } else if (contact.life == Life::touching) {
        contact.life = Life::lifting;
    }
    contact.values.trackingId = -1;
}

void ContactFrames::report(double time)
{
    const bool replacing =
        std::any_of(slots_.begin(), slots_.end(), [](const Slot& slot) { return slot.replaced.has_value(); });
    if (replacing) {
        deliver(time);
        settle();
    }
    deliver(time);
    remember(time);
    settle();
}

void ContactFrames::deliver(double time)
{
    frame_.clear();
    for (std::size_t index = 0; index < slots_.size(); ++index) {
        const Slot& slot = slots_[index];
        const Contact& shown = slot.replaced ? *slot.replaced : slot.contact;
        if (shown.life != Life::absent) {
            frame_.push_back(touch(static_cast<int>(index), shown, time));
        }
    }
    if (frame_.empty()) {
        return;
    }
    sink_(frame_, time);
    ++frameNumber_;
}

void ContactFrames::remember(double time)
{
    for (const MTTouch& shown : frame_) {
        Contact& contact = slots_[static_cast<std::size_t>(shown.pathIndex)].contact;
        contact.lastPosition = shown.normalizedVector.position;
        contact.lastTime = time;
    }
}

// After a frame, what began is touching and what lifted is gone; a replaced contact had its frame.
void ContactFrames::settle()
{
    for (Slot& slot : slots_) {
        if (slot.replaced) {
            slot.replaced.reset();
        } else if (slot.contact.life == Life::beginning) {
            slot.contact.life = Life::touching;
        } else if (slot.contact.life == Life::lifting) {
            slot.contact.life = Life::absent;
        }
    }
}

MTTouch ContactFrames::touch(int slot, const Contact& contact, double time) const
{
    const SlotValues& values = contact.values;
    MTTouch touch{};
    touch.frame = static_cast<std::int32_t>(frameNumber_);
    touch.timestamp = time;
    touch.pathIndex = slot;
    touch.stage = static_cast<platform::MTPathStage>(contact.life);
    touch.fingerID = slot;
    touch.normalizedVector = normalised(contact, time);
    touch.zTotal = strength(values.pressure);
    touch.zPressure = touch.zTotal;
    touch.majorAxis = surface_.major ? millimetres(values.major) : 0.0f;
    touch.minorAxis = surface_.major && surface_.minor ? millimetres(values.minor) : touch.majorAxis;
    touch.absoluteVector = absolute(touch.normalizedVector);
    return touch;
}

MTVector ContactFrames::normalised(const Contact& contact, double time) const
{
    // The kernel's y grows from the top edge down, the framework's from the bottom edge up.
    const MTPoint position{static_cast<float>(surface_.x.fraction(contact.values.x)),
                           static_cast<float>(1.0 - surface_.y.fraction(contact.values.y))};
    const double elapsed = time - contact.lastTime;
    if (!contact.lastPosition || !(elapsed > 0.0)) {
        return {position, {0.0f, 0.0f}};
    }
    const auto perSecond = [elapsed](float now, float before) {
        return static_cast<float>(static_cast<double>(now - before) / elapsed);
    };
    return {position,
            {perSecond(position.x, contact.lastPosition->x), perSecond(position.y, contact.lastPosition->y)}};
}

MTVector ContactFrames::absolute(const MTVector& normalised) const
{
    const auto scaled = [this](MTPoint point) {
        return MTPoint{static_cast<float>(static_cast<double>(point.x) * widthMillimetres_),
                       static_cast<float>(static_cast<double>(point.y) * heightMillimetres_)};
    };
    return {scaled(normalised.position), scaled(normalised.velocity)};
}

float ContactFrames::strength(std::int32_t pressure) const
{
    if (!surface_.pressure) {
        return kFirmStrength;
    }
    return static_cast<float>(kStrengthPerPressure * surface_.pressure->fraction(pressure));
}

// The kernel measures contact sizes in the units of the position axes.
float ContactFrames::millimetres(std::int32_t units) const
{
    return static_cast<float>(units / unitsPerMillimetre_);
}

}  // namespace veltrane::linuxbackend
