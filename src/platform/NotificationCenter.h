#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>

namespace veltrane::platform {

// The application's default notification centre. A notification carries a name and an optional
// object of any type (an empty std::any when there is none); observers read it with
// std::any_cast and must cope with a missing object or one of another type. Observers run
// synchronously on the thread that posts, in the order they were added.
class NotificationCenter {
public:
    using Handler = std::function<void(const std::any& object)>;
    using Token = std::uint64_t;

    virtual ~NotificationCenter() = default;

    virtual void post(const std::string& name, const std::any& object = {}) = 0;
    virtual Token observe(const std::string& name, Handler handler) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace veltrane::platform
