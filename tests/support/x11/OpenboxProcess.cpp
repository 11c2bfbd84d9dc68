#include "x11/OpenboxProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>

namespace veltrane::desktoptest {

OpenboxProcess::OpenboxProcess(const std::string& display, const std::filesystem::path& home)
{
    std::filesystem::create_directories(home);
    const auto configuration = (home / "rc.xml").string();
    std::ofstream(configuration) << "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"/>\n";
    // Openbox finds its other files under HOME and XDG_CONFIG_DIRS.
    std::array<std::string, 4> environment{"DISPLAY=" + display, "HOME=" + home.string(),
                                           "XDG_CONFIG_DIRS=" + home.string(), "PATH=/usr/bin:/bin"};
    std::array<char*, 5> variables{environment[0].data(), environment[1].data(), environment[2].data(),
                                   environment[3].data(), nullptr};
    std::array<std::string, 4> arguments{"openbox", "--sm-disable", "--config-file", configuration};
    std::array<char*, 5> argumentList{arguments[0].data(), arguments[1].data(), arguments[2].data(),
                                      arguments[3].data(), nullptr};
    pid_ = ::fork();
    if (pid_ == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execve("/usr/bin/openbox", argumentList.data(), variables.data());
        ::_exit(127);
    }
}

OpenboxProcess::~OpenboxProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

}  // namespace veltrane::desktoptest
