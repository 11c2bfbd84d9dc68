#pragma once

#include "platform/linux/reactor/FileDescriptor.h"
#include "platform/linux/reactor/Reactor.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace veltrane::linuxbackend {

// One program per user: two would fight over the keyboards. The first to start holds a lock and
// listens on a socket beside it; a later start tells it that it was started again, which a person
// does to reach a program that lives in the tray, and leaves.
class RunningInstance {
public:
    // In the user's runtime folder, or a folder of the user's own in /tmp without one.
    static std::filesystem::path defaultPath();
    // This process becomes the running instance, hearing of every later start through reopened, on
    // the reactor's thread; or, with another one running, tells it and returns nothing. On the
    // reactor's thread, where the instance is also destroyed; the lock goes with the process.
    static std::unique_ptr<RunningInstance> claim(const std::filesystem::path& socket, Reactor& reactor,
                                                  std::function<void()> reopened);

    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

private:
    RunningInstance(FileDescriptor lock, FileDescriptor listening, Reactor& reactor,
                    std::function<void()> reopened);
    static void announce(const std::filesystem::path& socket);
    void accept();

    FileDescriptor lock_;
    FileDescriptor listening_;
    std::function<void()> reopened_;
    Reactor::Source connecting_;
};

}  // namespace veltrane::linuxbackend
