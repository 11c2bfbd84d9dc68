#pragma once

#include "platform/linux/bus/BusDistributedNotificationCenter.h"
#include "platform/linux/reactor/ReactorLoop.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace veltrane {

// The launcher helper's work: it brings the program up, at login at once, on a relaunch once it
// has told the program to go and the delay has passed. Then it stays, present on the session bus
// by its name, until the program, up again, tells it to quit; or until it is clear that no program
// will.
class Launcher {
public:
    // The program's own identifier, the object of the notifications between the two.
    static constexpr const char* kProgramIdentifier = "com.marrowind.Veltrane";
    // Long enough for a program that starts slowly on a loaded machine to say it is up.
    static constexpr double kPatienceSeconds = 60.0;

    // Starts the program at that path; on the session bus, or on the bus at that address.
    explicit Launcher(std::filesystem::path program, const std::string& busAddress = {});

    // Each runs until the helper's work is done and returns the process's exit status.
    int login();
    int relaunch(std::int64_t delaySeconds);

private:
    // Starts the program, then waits for its word as long as patience lasts.
    void startAndAwaitWord();
    bool startProgram();

    std::filesystem::path program_;
    linuxbackend::Reactor reactor_;
    linuxbackend::ReactorLoop loop_{reactor_};
    linuxbackend::BusDistributedNotificationCenter bus_;
    int status_ = 0;
};

}  // namespace veltrane
