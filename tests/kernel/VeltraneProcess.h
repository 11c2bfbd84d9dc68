#pragma once

#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace veltrane::kernel {

// The real program, started for a test with a settings folder of its own, its output caught.
class VeltraneProcess {
public:
    // The program is /bin/veltrane in the test machine, or another that starts it; settingsJson, when
    // not empty, is written to its settings file first. With a user, it runs as that user instead of
    // root, through setpriv. Its environment holds only its settings folder and the variables given
    // ("NAME=value"), which come first: XDG_CONFIG_HOME among them gives it another settings folder.
    explicit VeltraneProcess(const std::string& settingsJson = "", std::vector<std::string> arguments = {},
                             std::optional<uid_t> user = std::nullopt,
                             std::vector<std::string> environment = {},
                             const std::string& program = "/bin/veltrane")
    {
        static std::atomic<int> count = 0;
        const auto configHome = std::filesystem::path("/tmp/veltrane-test-" + std::to_string(count++));
        std::filesystem::remove_all(configHome);
        std::filesystem::create_directories(configHome / "veltrane");
        settingsPath_ = (configHome / "veltrane" / "settings.json").string();
        if (!settingsJson.empty()) {
            writeSettings(settingsJson);
        }
        arguments.insert(arguments.begin(), program);
        if (user) {
            const auto id = std::to_string(*user);
            arguments.insert(arguments.begin(),
                             {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"});
            if (::chown(configHome.c_str(), *user, *user) != 0 ||
                ::chown((configHome / "veltrane").c_str(), *user, *user) != 0) {
                throw std::runtime_error("cannot give the settings folder to the user");
            }
        }
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot make a pipe");
        }
        environment.push_back("XDG_CONFIG_HOME=" + configHome.string());
        outputFd_ = ends[0];
        process_.emplace(arguments, testsupport::ChildProcess::Options{.environment = environment,
                                                                       .outputFd = ends[1],
                                                                       .errorsToOutput = true});
        ::close(ends[1]);
    }
    // Kills it when it still runs.
    ~VeltraneProcess()
    {
        process_.reset();
        ::close(outputFd_);
    }
    VeltraneProcess(const VeltraneProcess&) = delete;
    VeltraneProcess& operator=(const VeltraneProcess&) = delete;

    const std::string& settingsPath() const { return settingsPath_; }
    // Replaces the settings file as an editor does: a new file renamed over the old one.
    void writeSettings(const std::string& json) const
    {
        std::ofstream(settingsPath_ + ".new") << json;
        std::filesystem::rename(settingsPath_ + ".new", settingsPath_);
    }
    // Waits for a line of its output that holds the text; false after the timeout, which is long
    // because a virtual machine on a loaded host can stall for seconds.
    bool waitForOutput(std::string_view text,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(20000))
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const auto found = output_.find(text, searched_); found != std::string::npos) {
                searched_ = found + text.size();
                return true;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !readOutput(left)) {
                return false;
            }
        }
    }
    // The waits that follow look only at what it prints from now on; returns where that starts in output().
    std::size_t skipOutput()
    {
        while (readOutput(std::chrono::milliseconds(0))) {
        }
        searched_ = output_.size();
        return searched_;
    }
    void signal(int number) const { ::kill(pid(), number); }
    // Its exit status, or -signal when a signal ended it; nothing when it still runs after the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout = std::chrono::milliseconds(20000))
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!process_->status() && std::chrono::steady_clock::now() <= end) {
            readOutput(std::chrono::milliseconds(10));
        }
        while (readOutput(std::chrono::milliseconds(0))) {
        }
        return process_->status();
    }
    const std::string& output() const { return output_; }

    // What the program did while left alone: its threads' names, and how often they slept and woke.
    struct Idle {
        std::vector<std::string> threads;
        long wakeUps = 0;
        std::chrono::seconds span{};
        std::string describe() const
        {
            std::string text = "idle: " + std::to_string(threads.size()) + " threads (";
            for (const auto& name : threads) {
                text += (&name == &threads.front() ? "" : " ") + name;
            }
            return text + "), " + std::to_string(wakeUps) + " wake-ups in " + std::to_string(span.count()) +
                   " s";
        }
    };
    Idle idle(std::chrono::seconds span) const
    {
        const long before = wakeUps();
        std::this_thread::sleep_for(span);
        return {threads(), wakeUps() - before, span};
    }
    // The processor time it has used so far, its own and the kernel's for it, on all its threads.
    std::chrono::milliseconds cpuTime() const
    {
        clockid_t clock{};
        timespec used{};
        if (::clock_getcpuclockid(pid(), &clock) != 0 || ::clock_gettime(clock, &used) != 0) {
            throw std::runtime_error("cannot read the program's processor time");
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::seconds(used.tv_sec) +
                                                                     std::chrono::nanoseconds(used.tv_nsec));
    }

private:
    pid_t pid() const { return process_->pid(); }
    std::filesystem::path proc() const { return "/proc/" + std::to_string(pid()); }
    std::vector<std::string> threads() const
    {
        std::vector<std::string> names;
        for (const auto& task : std::filesystem::directory_iterator(proc() / "task")) {
            std::getline(std::ifstream(task.path() / "comm"), names.emplace_back());
        }
        return names;
    }
    long wakeUps() const
    {
        long total = 0;
        for (const auto& task : std::filesystem::directory_iterator(proc() / "task")) {
            std::ifstream status(task.path() / "status");
            for (std::string line; std::getline(status, line);) {
                if (line.find("ctxt_switches:") != std::string::npos) {
                    total += std::stol(line.substr(line.find(':') + 1));
                }
            }
        }
        return total;
    }
    bool readOutput(std::chrono::milliseconds timeout)
    {
        pollfd ready{outputFd_, POLLIN, 0};
        char buffer[4096];
        const auto length = ::poll(&ready, 1, static_cast<int>(timeout.count())) == 1
                                ? ::read(outputFd_, buffer, sizeof buffer)
                                : 0;
        output_.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
        return length > 0;
    }

    std::string settingsPath_;
    int outputFd_ = -1;
    std::optional<testsupport::ChildProcess> process_;
    std::string output_;
    std::size_t searched_ = 0;
};

}  // namespace veltrane::kernel
