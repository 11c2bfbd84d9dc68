#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <vector>

namespace veltrane::sim {

// The observers of a notification centre, each registered under a key (what it observes) and
// known by a token until it is removed. Safe from any thread; the handlers are called by the
// centres, outside it.
template <class Key, class Handler> class ObserverList {
public:
    using Token = std::uint64_t;
    struct Observer {
        Token token;
        Key key;
        Handler handler;
    };

    Token add(Key key, Handler handler)
    {
        const std::lock_guard lock(mutex_);
        observers_.push_back(Observer{nextToken_, std::move(key), std::move(handler)});
        return nextToken_++;
    }

    void remove(Token token)
    {
        const std::lock_guard lock(mutex_);
        std::erase_if(observers_, [&](const Observer& observer) { return observer.token == token; });
    }

    bool contains(Token token) const
    {
        const std::lock_guard lock(mutex_);
        return std::any_of(observers_.begin(), observers_.end(),
                           [&](const Observer& observer) { return observer.token == token; });
    }

    // Copies of the observers registered now whose key satisfies the predicate: handlers may add
    // or remove observers while they run, so each caller checks contains() before calling one.
    template <class Predicate> std::vector<Observer> matching(Predicate predicate) const
    {
        const std::lock_guard lock(mutex_);
        std::vector<Observer> found;
        std::copy_if(observers_.begin(), observers_.end(), std::back_inserter(found),
                     [&](const Observer& observer) { return predicate(observer.key); });
        return found;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Observer> observers_;
    Token nextToken_ = 1;
};

}  // namespace veltrane::sim
