#include "platform/linux/reactor/Reactor.h"

#include "platform/linux/reactor/Backoff.h"

#include <systemd/sd-event.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>

namespace veltrane::linuxbackend {

struct Reactor::Source::Handler {
    std::string what;
    const Log* log;
    // Given the events of a descriptor, the number of a signal, or 0 for a timer.
    std::function<void(std::uint32_t)> call;

    // A handler that failed goes quiet: sd-event would otherwise call it again at once.
    int guarded(sd_event_source* source, std::uint32_t value)
    {
        try {
            call(value);
        } catch (const std::exception& error) {
            sd_event_source_set_enabled(source, SD_EVENT_OFF);
            (*log)("Stopped watching " + what + ": " + error.what());
        }
        return 0;
    }
};

Reactor::Source::Source(Source&& other) noexcept : source_(std::exchange(other.source_, nullptr)) {}

Reactor::Source& Reactor::Source::operator=(Source&& other) noexcept
{
    if (this != &other) {
        reset();
        source_ = std::exchange(other.source_, nullptr);
    }
    return *this;
}

void Reactor::Source::reset()
{
    // Disabled as it goes: a source that goes while being dispatched lives until its handler
    // returns, and must not be called again.
    source_ = sd_event_source_disable_unref(source_);
}

void Reactor::Source::setEvents(std::uint32_t events)
{
    sd_event_source_set_io_events(source_, events);
}

void Reactor::Source::setDelay(std::optional<std::chrono::microseconds> delay)
{
    if (delay) {
        sd_event_source_set_time_relative(
            source_, static_cast<std::uint64_t>(std::max(delay->count(), std::int64_t{0})));
    }
    sd_event_source_set_enabled(source_, delay ? SD_EVENT_ONESHOT : SD_EVENT_OFF);
}

Reactor::Reactor(Log log) : log_(std::move(log))
{
    if (const int result = sd_event_new(&event_); result < 0) {
        throw std::system_error(-result, std::generic_category(), "cannot make the event loop");
    }
}

Reactor::~Reactor()
{
    sd_event_unref(event_);
}

Reactor::Source Reactor::watch(std::string what, int fd, std::uint32_t events, Ready ready)
{
    auto handler =
        std::make_unique<Source::Handler>(Source::Handler{std::move(what), &log_, std::move(ready)});
    return make(std::move(handler), [&](sd_event_source** source, void* data) {
        return sd_event_add_io(event_, source, fd, events, &Reactor::ioHandler, data);
    });
}

Reactor::Source Reactor::after(std::string what, std::chrono::microseconds delay, std::function<void()> task)
{
    auto handler = std::make_unique<Source::Handler>(
        Source::Handler{std::move(what), &log_, [task = std::move(task)](std::uint32_t) { task(); }});
    return make(std::move(handler), [&](sd_event_source** source, void* data) {
        return sd_event_add_time_relative(event_, source, CLOCK_MONOTONIC,
                                          static_cast<std::uint64_t>(delay.count()), 0, &Reactor::timeHandler,
                                          data);
    });
}

Reactor::Source Reactor::signal(std::string what, int signal, std::function<void(int)> handler)
{
    auto owned = std::make_unique<Source::Handler>(
        Source::Handler{std::move(what), &log_, [handler = std::move(handler)](std::uint32_t number) {
                            handler(static_cast<int>(number));
                        }});
    return make(std::move(owned), [&](sd_event_source** source, void* data) {
        return sd_event_add_signal(event_, source, signal, &Reactor::signalHandler, data);
    });
}

Reactor::Source Reactor::make(std::unique_ptr<Source::Handler> handler,
                              const std::function<int(sd_event_source**, void*)>& add)
{
    sd_event_source* source = nullptr;
    if (const int result = add(&source, handler.get()); result < 0) {
        throw std::system_error(-result, std::generic_category(), "cannot watch " + handler->what);
    }
    sd_event_source_set_destroy_callback(source,
                                         [](void* data) { delete static_cast<Source::Handler*>(data); });
    handler.release();
    return Source(source);
}

int Reactor::ioHandler(sd_event_source* source, int, std::uint32_t events, void* data)
{
    return static_cast<Source::Handler*>(data)->guarded(source, events);
}

int Reactor::timeHandler(sd_event_source* source, std::uint64_t, void* data)
{
    return static_cast<Source::Handler*>(data)->guarded(source, 0);
}

int Reactor::signalHandler(sd_event_source* source, const struct signalfd_siginfo* info, void* data)
{
    return static_cast<Source::Handler*>(data)->guarded(source, info->ssi_signo);
}

void Reactor::run()
{
    // Waiting fails only when the system is short of something: the loop waits a little longer
    // each time rather than spin a core, and says so once.
    Backoff backoff("wait for the input devices and the desktop", std::chrono::milliseconds(10),
                    std::chrono::seconds(1));
    stopping_ = false;
    while (!stopping_) {
        if (const int result = sd_event_run(event_, std::numeric_limits<std::uint64_t>::max()); result < 0) {
            std::this_thread::sleep_for(backoff.failed(-result, log_));
        } else {
            backoff.succeeded(log_);
        }
    }
}

void Reactor::stop()
{
    stopping_ = true;
}

int Reactor::fd() const
{
    return sd_event_get_fd(event_);
}

void Reactor::dispatch()
{
    // Prepared before returning, so that the timers due next are armed on the descriptor.
    while (true) {
        int ready = sd_event_prepare(event_);
        if (ready == 0) {
            ready = sd_event_wait(event_, 0);
        }
        if (ready <= 0) {
            return;
        }
        sd_event_dispatch(event_);
    }
}

}  // namespace veltrane::linuxbackend
