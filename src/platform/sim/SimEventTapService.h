#pragma once

#include "platform/EventTapService.h"

namespace veltrane::sim {

class DesktopLock;
struct Faults;
class Scheduler;
class SimDispatch;
class Transcript;
class WindowServer;

// Creates the event taps of one process in the desktop's event stream.
class SimEventTapService final : public platform::EventTapService {
public:
    SimEventTapService(Scheduler& scheduler, DesktopLock& lock, Transcript& transcript, Faults& faults,
                       WindowServer& windowServer, SimDispatch& dispatch);

    std::shared_ptr<platform::EventTap> createTap(platform::EventMask mask, Callback callback) override;

private:
    Scheduler& scheduler_;
    DesktopLock& lock_;
    Transcript& transcript_;
    Faults& faults_;
    WindowServer& windowServer_;
    SimDispatch& dispatch_;
};

}  // namespace veltrane::sim
