#include "x11/OpenboxProcess.h"

#include "ArgumentVector.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <vector>

namespace veltrane::desktoptest {

OpenboxProcess::OpenboxProcess(const std::string& display, const std::filesystem::path& home)
{
    std::filesystem::create_directories(home);
    const auto configuration = (home / "rc.xml").string();
    std::ofstream(configuration) << "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"/>\n";
    // Openbox finds its other files under HOME and XDG_CONFIG_DIRS.
    std::vector<std::string> environment{"DISPLAY=" + display, "HOME=" + home.string(),
                                         "XDG_CONFIG_DIRS=" + home.string(), "PATH=/usr/bin:/bin"};
    std::vector<std::string> arguments{"openbox", "--sm-disable", "--config-file", configuration};
    // Made before the fork: the child only execs.
    const auto variables = testsupport::argumentVector(environment);
    const auto argumentList = testsupport::argumentVector(arguments);
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
