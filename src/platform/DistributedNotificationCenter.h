#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace veltrane::platform {

// Notifications between processes, each with a name and an optional text object. Observers run
// on the main queue.
class DistributedNotificationCenter {
public:
    using Handler = std::function<void(const std::optional<std::string>& object)>;
    using Token = std::uint64_t;

    virtual ~DistributedNotificationCenter() = default;

    virtual void post(const std::string& name, const std::optional<std::string>& object) = 0;
    // With an object, only the notifications that carry that object reach the handler.
    virtual Token observe(const std::string& name, const std::optional<std::string>& object, Handler handler) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace veltrane::platform
