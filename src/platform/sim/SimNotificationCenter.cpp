#include "platform/sim/SimNotificationCenter.h"

#include "platform/sim/Transcript.h"

namespace veltrane::sim {

namespace {

std::string describeObject(const std::any& object)
{
    if (!object.has_value()) {
        return "";
    }
    if (const auto* flag = std::any_cast<bool>(&object)) {
        return *flag ? " true" : " false";
    }
    if (const auto* text = std::any_cast<std::string>(&object)) {
        return " " + *text;
    }
    return " (object)";
}

}  // namespace

void SimNotificationCenter::post(const std::string& name, const std::any& object)
{
    transcript_.record("notify", name + describeObject(object));
    LocalNotificationCenter::post(name, object);
}

}  // namespace veltrane::sim
