#include "VeltraneProcess.h"

#include "ArgumentVector.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace veltrane::kernel {

namespace {

std::string freshConfigHome()
{
    static std::atomic<int> count = 0;
    const auto folder = std::filesystem::path("/tmp/veltrane-test-" + std::to_string(count++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "veltrane");
    return folder.string();
}

}  // namespace

VeltraneProcess::VeltraneProcess(const std::string& settingsJson, std::vector<std::string> arguments,
                                 std::optional<uid_t> user, std::vector<std::string> environment,
                                 const std::string& program)
{
    const std::string configHome = freshConfigHome();
    settingsPath_ = configHome + "/veltrane/settings.json";
    if (!settingsJson.empty()) {
        writeSettings(settingsJson);
    }
    if (user && (::chown(configHome.c_str(), *user, *user) != 0 ||
                 ::chown((configHome + "/veltrane").c_str(), *user, *user) != 0)) {
        throw std::runtime_error("cannot give the settings folder to the user");
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv = testsupport::argumentVector(arguments);
    environment.push_back("XDG_CONFIG_HOME=" + configHome);
    std::vector<char*> envp = testsupport::argumentVector(environment);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::dup2(pipeFds[1], STDERR_FILENO);
        if (user && (::setgid(*user) != 0 || ::setuid(*user) != 0)) {
            ::_exit(127);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    outputFd_ = pipeFds[0];
    if (pid_ < 0) {
        throw std::runtime_error("cannot start " + program);
    }
}

VeltraneProcess::~VeltraneProcess()
{
    if (!status_) {
        ::kill(pid_, SIGKILL);
        waitForExit();
    }
    ::close(outputFd_);
}

void VeltraneProcess::writeSettings(const std::string& json) const
{
    const std::string temporary = settingsPath_ + ".new";
    std::ofstream(temporary) << json;
    std::filesystem::rename(temporary, settingsPath_);
}

bool VeltraneProcess::waitForOutput(std::string_view text, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto found = output_.find(text, searched_);
        if (found != std::string::npos) {
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

std::size_t VeltraneProcess::skipOutput()
{
    while (readOutput(std::chrono::milliseconds(0))) {
    }
    searched_ = output_.size();
    return searched_;
}

void VeltraneProcess::signal(int number) const
{
    ::kill(pid_, number);
}

std::optional<int> VeltraneProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        } else if (std::chrono::steady_clock::now() > end) {
            return std::nullopt;
        } else {
            readOutput(std::chrono::milliseconds(10));
        }
    }
    while (readOutput(std::chrono::milliseconds(0))) {
    }
    return status_;
}

bool VeltraneProcess::readOutput(std::chrono::milliseconds timeout)
{
    pollfd ready{outputFd_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) != 1) {
        return false;
    }
    char buffer[4096];
    const auto length = ::read(outputFd_, buffer, sizeof buffer);
    if (length <= 0) {
        return false;
    }
    output_.append(buffer, static_cast<std::size_t>(length));
    return true;
}

std::vector<std::string> VeltraneProcess::threads() const
{
    std::vector<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        names.push_back(name);
    }
    return names;
}

long VeltraneProcess::wakeUps() const
{
    long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/task")) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.find("ctxt_switches:") != std::string::npos) {
                total += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return total;
}

VeltraneProcess::Idle VeltraneProcess::idle(std::chrono::seconds span) const
{
    const long before = wakeUps();
    std::this_thread::sleep_for(span);
    return {threads(), wakeUps() - before, span};
}

std::chrono::milliseconds VeltraneProcess::cpuTime() const
{
    std::string stat;
    std::getline(std::ifstream("/proc/" + std::to_string(pid_) + "/stat"), stat);
    // After the name in parentheses, which may hold spaces: utime and stime are the 12th and 13th fields.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string skipped;
    for (int field = 0; field < 11; ++field) {
        fields >> skipped;
    }
    long user = 0;
    long system = 0;
    fields >> user >> system;
    return std::chrono::milliseconds((user + system) * 1000 / ::sysconf(_SC_CLK_TCK));
}

std::string VeltraneProcess::Idle::describe() const
{
    std::string text = "idle: " + std::to_string(threads.size()) + " threads (";
    for (const auto& name : threads) {
        text += (&name == &threads.front() ? "" : " ") + name;
    }
    return text + "), " + std::to_string(wakeUps) + " wake-ups in " + std::to_string(span.count()) + " s";
}

}  // namespace veltrane::kernel
