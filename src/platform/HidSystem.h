#pragma once

namespace veltrane::platform {

// The HID system connection: the caps lock lock state, as the keyboard's light shows it.
class HidSystem {
public:
    virtual ~HidSystem() = default;

    virtual bool capsLockState() const = 0;
    virtual void setCapsLockState(bool on) = 0;
};

}  // namespace veltrane::platform
