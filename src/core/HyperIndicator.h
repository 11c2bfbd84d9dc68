#pragma once

namespace veltrane {

// Shows the user whether the hyper state is held (the menu-bar icon). The hyper key listener and
// the slide recognizer call it from their own threads, so it never waits for another queue.
class HyperIndicator {
public:
    virtual ~HyperIndicator() = default;

    virtual void showHyper(bool held) = 0;
};

}  // namespace veltrane
