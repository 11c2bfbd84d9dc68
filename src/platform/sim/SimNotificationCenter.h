#pragma once

#include "platform/NotificationCenter.h"
#include "platform/sim/ObserverList.h"

namespace veltrane::sim {

class Transcript;

// The default notification centre of one process; every post is recorded.
class SimNotificationCenter final : public platform::NotificationCenter {
public:
    explicit SimNotificationCenter(Transcript& transcript) : transcript_(transcript) {}

    void post(const std::string& name, const std::any& object) override;
    Token observe(const std::string& name, Handler handler) override;
    void removeObserver(Token token) override;

private:
    Transcript& transcript_;
    ObserverList<std::string, Handler> observers_;
};

}  // namespace veltrane::sim
