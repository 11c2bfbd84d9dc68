#include "touch/MTTouchTracker.h"

#include "touch/Device.h"
#include "touch/TouchPhase.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace veltrane {

// Every limit below is a threshold test written the way it reads ("below 0.03", "closer than
// 35", "at least the light limit"), and a NaN passes none of them: a NaN position lies in no
// region, a NaN velocity does not move, NaN axes are not large, a NaN strength is not firm, an
// unknown distance is not close. So no rule lets go of a contact it holds on a value it cannot
// read.

namespace {

using platform::MTPoint;
using platform::MTTouch;

constexpr float kDefaultLightTouchFilter = 0.4f;
constexpr float kDefaultLargeTouchMinorAxis = 8.0f;
constexpr float kLargeTouchMajorAxisMargin = 10.0f;

constexpr float kMovingSpeed = 0.1f;
constexpr float kFastThumbSpeed = 0.5f;
constexpr float kThumbZone = 0.25f;
constexpr float kThumbEdge = 0.05f;
constexpr float kThumbMinAspect = 1.3f;
constexpr float kThumbMaxAspect = 3.0f;
constexpr float kWristEdge = 0.03f;
constexpr float kCentreLow = 0.3f;
constexpr float kCentreHigh = 0.7f;

const char* const kNoDeviceId = "com-marrowind-Veltrane Unable to obtain deviceId";
const char* const kNoDimensions = "com-marrowind-Veltrane Unable to obtain device dimensions";

float orDefault(float stored, float fallback)
{
    return stored == 0.0f ? fallback : stored;
}

bool strictlyBetween(float value, float low, float high)
{
    return value > low && value < high;
}

bool inCentre(MTPoint position)
{
    return strictlyBetween(position.x, kCentreLow, kCentreHigh) &&
           strictlyBetween(position.y, kCentreLow, kCentreHigh);
}

bool isFaster(const MTTouch& contact, float speed)
{
    const MTPoint velocity = contact.normalizedVector.velocity;
    return std::fabs(velocity.x) > speed || std::fabs(velocity.y) > speed;
}

bool isMoving(const MTTouch& contact)
{
    return isFaster(contact, kMovingSpeed);
}

bool hasThumbShape(const MTTouch& contact)
{
    return strictlyBetween(contact.majorAxis / contact.minorAxis, kThumbMinAspect, kThumbMaxAspect);
}

// A contact resting on the side or top of a built-in trackpad, away from every other contact, is
// held back until it slides towards the middle or is left alone on the surface.
struct EdgeRule {
    bool (*entersAt)(MTPoint position);
    float neighbourDistance;
    bool (*releasesAt)(MTPoint position);
};

constexpr EdgeRule kPalmRule{[](MTPoint p) { return p.x < 0.15f || p.x > 0.85f; }, 35.0f,
                             [](MTPoint p) { return strictlyBetween(p.x, kCentreLow, kCentreHigh); }};

constexpr EdgeRule kTopThumbRule{[](MTPoint p) { return p.y > 0.9f; }, 40.0f,
                                 [](MTPoint p) { return p.y < 0.8f; }};

bool hasNeighbourWithin(const MTTouch& contact, std::span<const MTTouch> contacts, float distance)
{
    const MTPoint at = contact.absoluteVector.position;
    return std::any_of(contacts.begin(), contacts.end(), [&](const MTTouch& other) {
        const MTPoint there = other.absoluteVector.position;
        return other.pathIndex != contact.pathIndex && std::hypot(there.x - at.x, there.y - at.y) < distance;
    });
}

std::int64_t rejectAtEdge(PathSet& held, const EdgeRule& rule, const MTTouch& contact,
                          std::span<const MTTouch> contacts, std::int64_t phase)
{
    if (phase == TouchPhase::none) {
        return TouchPhase::none;
    }
    const std::int32_t path = contact.pathIndex;
    const MTPoint position = contact.normalizedVector.position;
    if (!held.contains(path)) {
        // A contact that is lifting is not worth holding: nothing would ever let go of it.
        if (phase == TouchPhase::ended || !rule.entersAt(position) || contacts.size() < 2 ||
            hasNeighbourWithin(contact, contacts, rule.neighbourDistance)) {
            return phase;
        }
        held.insert(path);
        return phase == TouchPhase::began ? TouchPhase::none : TouchPhase::ended;
    }
    // Checked before the lone-contact release, so that a held contact never shows up as a touch
    // that begins in the frame it lifts.
    if (phase == TouchPhase::ended) {
        held.erase(path);
        return TouchPhase::none;
    }
    if (contacts.size() != 1 && !rule.releasesAt(position)) {
        return TouchPhase::none;
    }
    held.erase(path);
    return TouchPhase::began;
}

}  // namespace

MTTouchTracker::MTTouchTracker(Defaults& defaults, DevicesModel& devicesModel,
                               platform::Multitouch& multitouch, platform::SystemLog& systemLog)
    : disableThumbRejection_(defaults.disableThumbRejection().enabled()),
      disablePalmRejection_(defaults.disablePalmRejection().enabled()),
      lightTouchFilter_(orDefault(defaults.filterLightTouches().value(), kDefaultLightTouchFilter)),
      largeTouchMinorAxis_(orDefault(defaults.filterLargeTouches().value(), kDefaultLargeTouchMinorAxis)),
      largeTouchMajorAxis_(largeTouchMinorAxis_ + kLargeTouchMajorAxisMargin), devicesModel_(devicesModel),
      multitouch_(multitouch), systemLog_(systemLog)
{
}

std::optional<TouchEvent> MTTouchTracker::processFrame(platform::MTDevice* device,
                                                       std::span<const platform::MTTouch> contacts,
                                                       double timestamp)
{
    // Made in place and returned as it is: a frame's touches are held in the event itself.
    std::optional<TouchEvent> made;
    if (device == nullptr) {
        return made;
    }
    TouchEvent& event = made.emplace();
    event.deviceId = readDeviceId(device);
    const SurfaceSize size = readSurfaceSize(device);
    event.deviceType =
        devicesModel_.deviceType(Device::locationIdForDevice(static_cast<std::uint64_t>(event.deviceId)));
    if (event.deviceType && isRegistrable(*event.deviceType) && !disableThumbRejection_) {
        updateRestingThumb(contacts);
    }

    std::size_t moving = 0;
    for (const MTTouch& contact : contacts) {
        if (auto touch = makeTouch(contact, event.deviceType, size, contacts)) {
            if (isMoving(contact)) {
                ++moving;
            }
            event.touches.insert(*touch);
        }
    }
    if (event.touches.empty()) {
        made.reset();
        return made;
    }

    for (const Touch& touch : event.touches) {
        event.phaseHex += TouchPhase::summaryWeight(touch.phase);
        event.rawPhaseHex += TouchPhase::summaryWeight(touch.rawPhase);
    }
    event.gestureEnded = (event.phaseHex & 0xFF) == 0;
    if (event.gestureEnded) {
        touchBeginTimestamps_.clear();
    }
    event.gestureMoved = moving == contacts.size();
    event.timestamp = timestamp;
    event.touchBeginTimestamps = touchBeginTimestamps_.snapshot();
    event.touchCount = static_cast<std::int64_t>(event.touches.size());
    return made;
}

std::int64_t MTTouchTracker::readDeviceId(platform::MTDevice* device)
{
    std::uint64_t deviceId = 0;
    if (multitouch_.MTDeviceGetDeviceID(device, deviceId) != 0) {
        systemLog_.write(platform::SystemLogLevel::error, kNoDeviceId);
        deviceId = 0;
    }
    return static_cast<std::int64_t>(deviceId);
}

MTTouchTracker::SurfaceSize MTTouchTracker::readSurfaceSize(platform::MTDevice* device)
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (multitouch_.MTDeviceGetSensorSurfaceDimensions(device, width, height) != 0) {
        systemLog_.write(platform::SystemLogLevel::error, kNoDimensions);
        return {};
    }
    return {static_cast<float>(width), static_cast<float>(height)};
}

// A thumb resting low while other fingers work is reported as ended once (or never shown), then
// hidden, and shown again as a new touch once it moves to the centre or moves with the others.
void MTTouchTracker::updateRestingThumb(std::span<const platform::MTTouch> contacts)
{
    if (restingThumb_) {
        followRestingThumb(contacts);
    } else {
        findRestingThumb(contacts);
    }
}

void MTTouchTracker::findRestingThumb(std::span<const platform::MTTouch> contacts)
{
    if (contacts.size() < 2 || contacts.size() > 4) {
        return;
    }
    const auto isLow = [](const MTTouch& contact) {
        return contact.normalizedVector.position.y < kThumbZone;
    };
    if (std::count_if(contacts.begin(), contacts.end(), isLow) != 1) {
        return;
    }
    const MTTouch& low = *std::find_if(contacts.begin(), contacts.end(), isLow);
    if (low.stage != 3 && low.stage != 4) {
        return;
    }
    if (low.normalizedVector.position.y >= kThumbEdge && !hasThumbShape(low)) {
        return;
    }
    if (!isMoving(low)) {
        restingThumb_ = Thumb{low.pathIndex, RestingThumbState::begin};
    }
}

void MTTouchTracker::followRestingThumb(std::span<const platform::MTTouch> contacts)
{
    Thumb& thumb = *restingThumb_;
    const auto found = std::find_if(contacts.begin(), contacts.end(),
                                    [&](const MTTouch& contact) { return contact.pathIndex == thumb.id; });
    if (found == contacts.end() || thumb.state == RestingThumbState::end) {
        restingThumb_.reset();
        return;
    }
    if (inCentre(found->normalizedVector.position)) {
        thumb.state = RestingThumbState::end;
        return;
    }
    const bool restsBesideOthers = contacts.size() >= 2 && contacts.size() <= 4 &&
                                   !std::all_of(contacts.begin(), contacts.end(), isMoving);
    if (!restsBesideOthers) {
        thumb.state = RestingThumbState::end;
    } else if (thumb.state == RestingThumbState::begin) {
        thumb.state = RestingThumbState::resting;
    } else if (isFaster(*found, kFastThumbSpeed)) {
        thumb.state = RestingThumbState::end;
    }
}

std::optional<Touch> MTTouchTracker::makeTouch(const platform::MTTouch& contact,
                                               std::optional<DeviceType> type, SurfaceSize size,
                                               std::span<const platform::MTTouch> contacts)
{
    const std::int64_t rawPhase = touchPhase(contact);
    // A path that starts again while its touch is down (its lift never came) goes on as that touch:
    // a filter may hide a touch that begins, and this one would then never end for the consumers.
    const bool stillDown = rawPhase == TouchPhase::began && touchBeginTimestamps_.find(contact.pathIndex);
    const std::int64_t phase =
        filteredPhase(contact, stillDown ? TouchPhase::stationary : rawPhase, type, contacts);
    if (phase == TouchPhase::none) {
        return std::nullopt;
    }
    const std::int64_t id = contact.pathIndex;
    if (phase == TouchPhase::began) {
        touchBeginTimestamps_.set(id, contact.timestamp);
    }
    const StringId& stringId = stringIds_.of(id, touchBeginTimestamps_.find(id));
    if (phase == TouchPhase::ended) {
        touchBeginTimestamps_.erase(id);
    }
    const platform::MTVector& normalized = contact.normalizedVector;
    const MTPoint absolute = contact.absoluteVector.position;
    return Touch{.pos = {normalized.position.x, normalized.position.y},
                 .absPos = TouchPoint{absolute.x, absolute.y},
                 .velocity = TouchPoint{normalized.velocity.x, normalized.velocity.y},
                 .phase = phase,
                 .rawPhase = rawPhase,
                 .deviceWidth = size.width,
                 .deviceHeight = size.height,
                 .id = id,
                 .stringId = stringId,
                 .touchOrigin = TouchOrigin::mtEvent};
}

// The filters in their order, each taking the phase the one before gave; a phase of none drops
// the contact.
std::int64_t MTTouchTracker::filteredPhase(const platform::MTTouch& contact, std::int64_t rawPhase,
                                           std::optional<DeviceType> type,
                                           std::span<const platform::MTTouch> contacts)
{
    std::int64_t phase = applyRestingThumb(contact, rawPhase);
    if (!disablePalmRejection_ && type && isBuiltIn(*type)) {
        phase = rejectAtEdge(restingPalm_, kPalmRule, contact, contacts, phase);
        phase = rejectAtEdge(restingTopThumb_, kTopThumbRule, contact, contacts, phase);
    }
    phase = filterLargeTouch(contact, filterLightTouch(contact, phase));
    if (phase == TouchPhase::none ||
        (contacts.size() >= 2 &&
         isWristTouch(phase, contact.pathIndex, contact.normalizedVector.position.y))) {
        return TouchPhase::none;
    }
    return phase;
}

std::int64_t MTTouchTracker::touchPhase(const platform::MTTouch& contact)
{
    const std::int32_t path = contact.pathIndex;
    switch (contact.stage) {
    case 1:
    case 2:
    case 3:
        endedTouches_.erase(path);
        return startedTouches_.insert(path) ? TouchPhase::began : TouchPhase::stationary;
    case 4:
        startedTouches_.erase(path);
        endedTouches_.erase(path);
        return isMoving(contact) ? TouchPhase::moved : TouchPhase::stationary;
    case 5:
    case 6:
    case 7:
        startedTouches_.erase(path);
        return endedTouches_.insert(path) ? TouchPhase::ended : TouchPhase::none;
    default:
        startedTouches_.erase(path);
        endedTouches_.erase(path);
        return TouchPhase::none;
    }
}

std::int64_t MTTouchTracker::applyRestingThumb(const platform::MTTouch& contact, std::int64_t phase) const
{
    if (!restingThumb_ || restingThumb_->id != contact.pathIndex) {
        return phase;
    }
    switch (restingThumb_->state) {
    case RestingThumbState::begin:
        // A thumb that consumers saw begin ends for them as it is hidden, even in a frame that
        // says it is only now making contact.
        return contact.stage == 4 || touchBeginTimestamps_.find(contact.pathIndex) ? TouchPhase::ended
                                                                                   : TouchPhase::none;
    case RestingThumbState::end:
        // A thumb that lifts as it is let go stays hidden rather than begin in its last frame.
        return phase == TouchPhase::none || phase == TouchPhase::ended ? TouchPhase::none : TouchPhase::began;
    case RestingThumbState::resting:
        break;
    }
    return TouchPhase::none;
}

// A touch too light to be a finger is held back and begins late, once it is firm enough.
std::int64_t MTTouchTracker::filterLightTouch(const platform::MTTouch& contact, std::int64_t phase)
{
    if (!(lightTouchFilter_ > 0.0f) || phase == TouchPhase::none) {
        return phase;
    }
    const std::int32_t path = contact.pathIndex;
    if (phase == TouchPhase::ended) {
        tooLightTouches_.erase(path);
        return TouchPhase::ended;
    }
    if (phase != TouchPhase::began && !tooLightTouches_.contains(path)) {
        return phase;
    }
    if (contact.zTotal >= lightTouchFilter_) {
        tooLightTouches_.erase(path);
        return TouchPhase::began;
    }
    tooLightTouches_.insert(path);
    return TouchPhase::none;
}

// A touch that grows too large is reported as ended once and then never again.
std::int64_t MTTouchTracker::filterLargeTouch(const platform::MTTouch& contact, std::int64_t phase)
{
    if (!(largeTouchMinorAxis_ > 0.0f) || phase == TouchPhase::none) {
        return phase;
    }
    const std::int32_t path = contact.pathIndex;
    if (largeTouches_.contains(path)) {
        if (phase == TouchPhase::ended) {
            largeTouches_.erase(path);
        }
        return TouchPhase::none;
    }
    const bool isLarge = contact.minorAxis > largeTouchMinorAxis_ && contact.majorAxis > largeTouchMajorAxis_;
    if (phase == TouchPhase::ended || !isLarge) {
        return phase;
    }
    largeTouches_.insert(path);
    return phase == TouchPhase::began ? TouchPhase::none : TouchPhase::ended;
}

// A wrist shows as a contact that begins on the very bottom edge beside a finger; it stays hidden
// while it remains there.
bool MTTouchTracker::isWristTouch(std::int64_t phase, std::int32_t pathIndex, float y)
{
    if (y >= kWristEdge) {
        wristTouches_.erase(pathIndex);
    } else if (y < kWristEdge && phase == TouchPhase::began) {
        wristTouches_.insert(pathIndex);
    }
    const bool isWrist = wristTouches_.contains(pathIndex);
    // A wrist that lifts stays hidden, and is forgotten.
    if (phase == TouchPhase::ended) {
        wristTouches_.erase(pathIndex);
    }
    return isWrist;
}

}  // namespace veltrane
