#pragma once

#include "platform/HidDevice.h"

#include <cstdint>
#include <map>
#include <string>

namespace veltrane::sim {

// A connected HID device of the simulated desktop: a name for the scenario, properties (any of
// them may be absent) and the usage it reports itself as.
class SimHidDevice : public platform::HidDevice {
public:
    using Properties = std::map<std::string, platform::HidProperty, std::less<>>;

    SimHidDevice(std::string name, Properties properties, Properties serviceProperties = {});

    const std::string& name() const { return name_; }
    virtual void disconnect() {}

    platform::HidProperty property(std::string_view key) const override;
    platform::HidProperty searchServiceProperty(std::string_view key) const override;

private:
    static platform::HidProperty find(const Properties& properties, std::string_view key);

    std::string name_;
    Properties properties_;
    Properties serviceProperties_;
};

}  // namespace veltrane::sim
