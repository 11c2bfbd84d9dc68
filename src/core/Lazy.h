#pragma once

#include <mutex>
#include <optional>
#include <utility>

namespace veltrane {

// A value made on first use, once, even when several threads ask for it at the same time.
template <class T> class Lazy {
public:
    template <class... Args> T& get(Args&&... args)
    {
        std::call_once(once_, [&] { value_.emplace(std::forward<Args>(args)...); });
        return *value_;
    }

private:
    std::once_flag once_;
    std::optional<T> value_;
};

}  // namespace veltrane
