#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::kernel {

// The real program, started for a test with a settings folder of its own, its output caught.
class VeltraneProcess {
public:
    // The program is /bin/veltrane in the test machine, or another that starts it; settingsJson, when
    // not empty, is written to its settings file first. With a user, it runs as that user instead of
    // root. Its environment holds only its settings folder and the variables given ("NAME=value"),
    // which come first: XDG_CONFIG_HOME among them gives it another settings folder.
    explicit VeltraneProcess(const std::string& settingsJson = "", std::vector<std::string> arguments = {},
                             std::optional<uid_t> user = std::nullopt,
                             std::vector<std::string> environment = {},
                             const std::string& program = "/bin/veltrane");
    // Kills it when it still runs.
    ~VeltraneProcess();
    VeltraneProcess(const VeltraneProcess&) = delete;
    VeltraneProcess& operator=(const VeltraneProcess&) = delete;

    const std::string& settingsPath() const { return settingsPath_; }
    pid_t pid() const { return pid_; }
    // Replaces the settings file as an editor does: a new file renamed over the old one.
    void writeSettings(const std::string& json) const;
    // Waits for a line of its output that holds the text; false after the timeout, which is long
    // because a virtual machine on a loaded host can stall for seconds.
    bool waitForOutput(std::string_view text,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));
    // The waits that follow look only at what it prints from now on; returns where that starts in output().
    std::size_t skipOutput();
    void signal(int number) const;
    // Its exit status, or -signal when a signal ended it; nothing when it still runs after the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));
    const std::string& output() const { return output_; }

    // What the program did while left alone: its threads' names, and how often they slept and woke.
    struct Idle {
        std::vector<std::string> threads;
        long wakeUps = 0;
        std::chrono::seconds span{};
        std::string describe() const;
    };
    Idle idle(std::chrono::seconds span) const;
    // The processor time it has used so far, its own and the kernel's for it.
    std::chrono::milliseconds cpuTime() const;

private:
    std::vector<std::string> threads() const;
    long wakeUps() const;

    bool readOutput(std::chrono::milliseconds timeout);

    std::string settingsPath_;
    pid_t pid_ = -1;
    int outputFd_ = -1;
    std::string output_;
    std::size_t searched_ = 0;
    std::optional<int> status_;
};

}  // namespace veltrane::kernel
