#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct sd_event;
struct sd_event_source;
struct signalfd_siginfo;

namespace veltrane::linuxbackend {

// The one event loop of the Linux backend, on sd-event: the input devices, the watchers of the
// desktop and the main queue's own tasks are its sources, and it calls each on the thread that
// runs it when there is something to do, so that the program sleeps while nothing happens and no
// watcher needs a thread of its own. It belongs to the thread that runs it.
class Reactor {
public:
    // A source of the loop, which stops when it goes.
    class Source {
    public:
        Source() = default;
        ~Source() { reset(); }
        Source(Source&& other) noexcept;
        Source& operator=(Source&& other) noexcept;
        Source(const Source&) = delete;
        Source& operator=(const Source&) = delete;

        void reset();
        explicit operator bool() const { return source_ != nullptr; }
        // For a descriptor: the events it waits for (EPOLLIN, EPOLLOUT).
        void setEvents(std::uint32_t events);
        // For a timer: calls the task once after the delay from now, or never.
        void setDelay(std::optional<std::chrono::microseconds> delay);

    private:
        friend class Reactor;
        struct Handler;
        explicit Source(sd_event_source* source) : source_(source) {}

        sd_event_source* source_ = nullptr;
    };

    // Given the epoll events that came: EPOLLHUP and EPOLLERR may come unasked. A handler that
    // throws std::exception has its source dropped and the reason logged, once: a source that
    // cannot be read would otherwise be called again at once, for ever.
    using Ready = std::function<void(std::uint32_t events)>;
    using Log = std::function<void(const std::string& line)>;

    // Throws std::system_error when the loop cannot be made.
    explicit Reactor(Log log);
    ~Reactor();
    Reactor(const Reactor&) = delete;
    Reactor& operator=(const Reactor&) = delete;

    // what: what the source owns, as the log names it ("the keyboard /dev/input/event3").
    Source watch(std::string what, int fd, std::uint32_t events, Ready ready);
    // Calls the task once, after the delay.
    Source after(std::string what, std::chrono::microseconds delay, std::function<void()> task);
    // Calls the handler with each of the signals, which must be blocked in every thread.
    Source signal(std::string what, int signal, std::function<void(int)> handler);

    // Runs the loop on the calling thread until stop().
    void run();
    // From the loop's thread: run() returns once the handler running now returns.
    void stop();

    // For a loop that runs the reactor inside its own: the descriptor that turns readable when
    // the reactor has something to do, and the call that does all there is, without waiting.
    int fd() const;
    void dispatch();

    // For libraries that attach to the loop themselves (sd-bus).
    sd_event* handle() const { return event_; }

private:
    static int ioHandler(sd_event_source* source, int fd, std::uint32_t events, void* data);
    static int timeHandler(sd_event_source* source, std::uint64_t usec, void* data);
    static int signalHandler(sd_event_source* source, const struct signalfd_siginfo* info, void* data);
    // The handler lives as long as the source in sd-event, which keeps a source that goes while
    // its handler runs until the handler returns.
    static Source make(std::unique_ptr<Source::Handler> handler,
                       const std::function<int(sd_event_source**, void*)>& add);

    sd_event* event_ = nullptr;
    Log log_;
    bool stopping_ = false;
};

}  // namespace veltrane::linuxbackend
