#pragma once

#include "platform/NotificationCenter.h"

#include <vector>

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
    struct Observer {
        Token token;
        std::string name;
        Handler handler;
    };

    bool isObserving(Token token) const;

    Transcript& transcript_;
    std::vector<Observer> observers_;
    Token nextToken_ = 1;
};

}  // namespace veltrane::sim
