#pragma once

#include "core/Defaults.h"
#include "keyboard/KeyboardListener.h"
#include "platform/HidEventSystem.h"
#include "platform/Platform.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace veltrane {

// The keyboards' "UserKeyMapping", which this application owns: the pairs it has mapped, written
// whole to every keyboard on each change. A key being given back is written once as an identity
// pair and then forgotten. The hyper key listener asks isRemapped from its own thread while the
// main queue may be changing the list, hence the lock.
class HidRemap {
public:
    static constexpr std::int64_t kKeyboardPage = 0x700000000;

    HidRemap(const platform::Platform& platform, Defaults& defaults);
    ~HidRemap();
    HidRemap(const HidRemap&) = delete;
    HidRemap& operator=(const HidRemap&) = delete;

    bool isRemapped(std::uint32_t sourceUsage) const;
    bool isEmpty() const;
    void resetMapping(std::uint32_t sourceUsage);
    void resetAll();
    void addMapping(std::uint32_t sourceUsage, std::uint32_t destinationUsage);
    void remap();

    KeyboardListener& keyboardListener() { return keyboardListener_; }

private:
    const platform::Platform& platform_;
    mutable std::mutex mutex_;
    std::vector<platform::HidKeyMapping> mapping_;
    KeyboardListener keyboardListener_;
    platform::NotificationCenter::Token observer_;
};

}  // namespace veltrane
