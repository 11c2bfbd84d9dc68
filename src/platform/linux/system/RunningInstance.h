#pragma once

#include "platform/linux/reactor/FileDescriptor.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

namespace veltrane::linuxbackend {

// One program per user: two would fight over the keyboards. The first to start holds a lock and
// listens on a socket beside it; a later start tells it that it was started again, which a person
// does to reach a program that lives in the tray, and leaves.
class RunningInstance {
public:
    // In the user's runtime folder, or a folder of the user's own in /tmp without one.
    static std::filesystem::path defaultPath();
    // This process becomes the running instance, hearing of every later start through reopened (on a
    // thread of its own); or, with another one running, tells it and returns nothing.
    static std::unique_ptr<RunningInstance> claim(const std::filesystem::path& socket,
                                                  std::function<void()> reopened);

    // Stops listening: reopened is not called once it returns. The lock goes with the process.
    ~RunningInstance();
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

private:
    RunningInstance(FileDescriptor lock, FileDescriptor listening, std::function<void()> reopened);
    static void announce(const std::filesystem::path& socket);
    void listen();

    FileDescriptor lock_;
    FileDescriptor listening_;
    FileDescriptor stop_;
    std::function<void()> reopened_;
    std::thread thread_;
};

}  // namespace veltrane::linuxbackend
