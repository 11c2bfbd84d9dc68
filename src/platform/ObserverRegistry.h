#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace veltrane::platform {

// The observers of a notification centre, each registered under a key (what it observes) and
// known by a token until it is removed. Safe from any thread. Handlers run outside the lock, so
// that they may post, observe and remove observers themselves.
//
// Components remove their observers in their destructors, while another thread may be posting:
// remove() therefore waits for the calls of that observer running on other threads, and no call
// starts once it has returned. Its own thread's calls (a handler removing itself) are not waited
// for, which would never end. The price: whoever removes an observer must not hold anything its
// handler waits for.
template <class Key, class Handler> class ObserverRegistry {
public:
    using Token = std::uint64_t;

    Token add(Key key, Handler handler)
    {
        const std::lock_guard lock(mutex_);
        observers_.push_back(
            Observer{nextToken_, std::move(key), std::make_shared<const Handler>(std::move(handler))});
        return nextToken_++;
    }

    void remove(Token token)
    {
        std::unique_lock lock(mutex_);
        std::erase_if(observers_, [&](const Observer& observer) { return observer.token == token; });
        finished_.wait(lock, [&] { return !runningElsewhere(token); });
    }

    // The tokens of the observers registered now whose key satisfies the predicate, in the order
    // they were added.
    template <class Predicate> std::vector<Token> matching(Predicate predicate) const
    {
        const std::lock_guard lock(mutex_);
        std::vector<Token> tokens;
        for (const auto& observer : observers_) {
            if (predicate(observer.key)) {
                tokens.push_back(observer.token);
            }
        }
        return tokens;
    }

    // Calls the observer's handler on this thread, unless it has been removed meanwhile.
    template <class... Arguments> void call(Token token, const Arguments&... arguments)
    {
        const auto handler = start(token);
        if (!handler) {
            return;
        }
        const Finish finish{*this, token};
        (*handler)(arguments...);
    }

private:
    struct Observer {
        Token token;
        Key key;
        // Shared with the calls running, which outlive its removal.
        std::shared_ptr<const Handler> handler;
    };

    struct Call {
        Token token;
        std::thread::id thread;

        bool operator==(const Call&) const = default;
    };

    // Ends the record of a call however the handler leaves.
    class Finish {
    public:
        Finish(ObserverRegistry& registry, Token token) : registry_(registry), token_(token) {}
        ~Finish() { registry_.finish(token_); }
        Finish(const Finish&) = delete;
        Finish& operator=(const Finish&) = delete;

    private:
        ObserverRegistry& registry_;
        Token token_;
    };

    // The observer's handler, recorded as running on this thread; nothing when it is gone.
    std::shared_ptr<const Handler> start(Token token)
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(observers_.begin(), observers_.end(),
                                        [&](const Observer& observer) { return observer.token == token; });
        if (found == observers_.end()) {
            return nullptr;
        }
        calls_.push_back(Call{token, std::this_thread::get_id()});
        return found->handler;
    }

    void finish(Token token)
    {
        {
            const std::lock_guard lock(mutex_);
            calls_.erase(std::find(calls_.begin(), calls_.end(), Call{token, std::this_thread::get_id()}));
        }
        finished_.notify_all();
    }

    bool runningElsewhere(Token token) const
    {
        return std::any_of(calls_.begin(), calls_.end(), [&](const Call& call) {
            return call.token == token && call.thread != std::this_thread::get_id();
        });
    }

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<Observer> observers_;
    // The handlers running now, one entry per call (a handler may post what calls it again).
    std::vector<Call> calls_;
    Token nextToken_ = 1;
};

}  // namespace veltrane::platform
