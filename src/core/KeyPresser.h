#pragma once

#include "platform/EventPoster.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace veltrane {

// The one place synthetic key events come from: one shared private event source, and posting
// where the HID system's own events enter the stream.
class KeyPresser {
public:
    enum Phase : unsigned {
        up = 1,
        down = 2,
    };

    explicit KeyPresser(platform::EventPoster& poster) : poster_(poster) {}

    // Posts the key down and/or up (down first). The events get `flags` unless skipFlags is set;
    // flags of 0 are applied only with forceFlags, otherwise the events keep the source's.
    void press(std::uint16_t keyCode, platform::EventFlags flags, bool skipFlags, unsigned phases,
               bool forceFlags);
    // One key event from the shared source, with the source's flags.
    void post(std::uint16_t keyCode, bool keyDown);

private:
    platform::EventSource& sharedEventSource();

    platform::EventPoster& poster_;
    std::once_flag sourceMade_;
    std::shared_ptr<platform::EventSource> source_;
};

}  // namespace veltrane
