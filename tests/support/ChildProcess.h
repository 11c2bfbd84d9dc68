#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace veltrane::testsupport {

// How a child process is started and stopped.
struct ChildProcessOptions {
    // NAME=value each; the test's own environment when there is none.
    std::optional<std::vector<std::string>> environment = std::nullopt;
    // Files for its standard output and error, the test's own where empty. A descriptor of the
    // test's may be its output instead; the errors may go where the output goes.
    std::string output{};
    std::string errors{};
    int outputFd = -1;
    bool errorsToOutput = false;
    // A descriptor of the test's that the program keeps open under the same number.
    int keptFd = -1;
    int stopSignal = SIGKILL;
    // A process group of its own, ended whole: a shell and the pipeline it runs.
    bool group = false;
};

// A program that a test starts, a server or a client of the desktop, ended with the object by the
// signal given when it still runs then.
class ChildProcess {
public:
    using Options = ChildProcessOptions;

    // The first argument is the program, found on the PATH; throws when it cannot be started.
    explicit ChildProcess(std::vector<std::string> arguments, Options options = {})
        : stopSignal_(options.stopSignal), group_(options.group)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (options.outputFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, options.outputFd, STDOUT_FILENO);
        } else if (!options.output.empty()) {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.output.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        if (options.errorsToOutput) {
            posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        } else if (!options.errors.empty()) {
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, options.errors.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        // A descriptor duplicated onto itself loses its close-on-exec flag.
        if (options.keptFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, options.keptFd, options.keptFd);
        }
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        if (group_) {
            posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
            posix_spawnattr_setpgroup(&attributes, 0);
        }
        const auto argv = argumentVector(arguments);
        const auto envp = options.environment ? argumentVector(*options.environment) : std::vector<char*>();
        const int failed = ::posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(),
                                          options.environment ? envp.data() : environ);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) {
            throw std::runtime_error("cannot start " + arguments[0]);
        }
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Its exit status, or -signal when a signal ended it; nothing while it runs.
    std::optional<int> status() { return status_ ? status_ : reaped(WNOHANG); }

    // Ends it with its signal, unless it has ended already, and waits for it.
    void stop()
    {
        if (!status()) {
            ::kill(group_ ? -pid_ : pid_, stopSignal_);
            reaped(0);
        }
    }

private:
    // The words as posix_spawn wants them: pointers into the strings' own buffers, then a null.
    static std::vector<char*> argumentVector(std::vector<std::string>& words)
    {
        std::vector<char*> pointers(words.size() + 1);
        std::ranges::transform(words, pointers.begin(), [](std::string& word) { return word.data(); });
        return pointers;
    }

    std::optional<int> reaped(int options)
    {
        int raw = 0;
        if (::waitpid(pid_, &raw, options) == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
        }
        return status_;
    }

    int stopSignal_;
    bool group_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace veltrane::testsupport
