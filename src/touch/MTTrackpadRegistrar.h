#pragma once

#include "core/Defaults.h"
#include "platform/Platform.h"
#include "touch/DevicesModel.h"
#include "touch/MTTouchTracker.h"
#include "touch/TouchViewer.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace veltrane {

// Registers trackpads with the multitouch framework and turns their contact frames into touch
// events for the recognizer (and the viewer, while it shows). One tracker serves every device
// registered here, so their path indices share its state.
class MTTrackpadRegistrar {
public:
    // More contacts than any surface reports; a frame claiming more is cut to this.
    static constexpr int kMaxContacts = 64;

    struct Consumers {
        TouchEventHandler recognize;
        // Whether the engine stands aside for the frontmost application.
        std::function<bool()> disabledForApp;
        TouchViewer* viewer = nullptr;
    };

    MTTrackpadRegistrar(const platform::Platform& platform, Defaults& defaults, DevicesModel& devicesModel,
                        Consumers consumers);
    MTTrackpadRegistrar(const MTTrackpadRegistrar&) = delete;
    MTTrackpadRegistrar& operator=(const MTTrackpadRegistrar&) = delete;

    bool isRegistered(std::uint64_t deviceId) const;
    void registerDevice(platform::MTDeviceRef device, std::uint64_t deviceId);
    // Forgets the device; the framework is not asked to stop it.
    void unregisterDevice(std::uint64_t deviceId);

    // The framework's frame callback; refcon is the registrar.
    static void handleContactFrame(platform::MTDevice* device, const platform::MTTouch* contacts, int count,
                                   double timestamp, int frameNumber, void* refcon);

private:
    void handleFrame(platform::MTDevice* device, const platform::MTTouch* contacts, int count,
                     double timestamp);

    // Without its reference the callback can only reach the log the registrars were made with.
    static std::atomic<platform::SystemLog*> callbackLog_;

    const platform::Platform& platform_;
    Consumers consumers_;
    MTTouchTracker tracker_;
    // The framework may call from one thread per device; the tracker sees one frame at a time.
    std::mutex trackerMutex_;
    mutable std::mutex devicesMutex_;
    std::map<std::uint64_t, platform::MTDeviceRef> registeredDevices_;
};

}  // namespace veltrane
