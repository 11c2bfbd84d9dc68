#pragma once

#include "ChildProcess.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace veltrane::desktoptest {

// A real window manager on a test's X server, with its home and configuration in a folder of the
// test's own so that nothing of the machine's user leaks in. Started, not yet ready: it takes over
// the screen shortly after. It finds its other files under HOME and XDG_CONFIG_DIRS.
class OpenboxProcess : public testsupport::ChildProcess {
public:
    OpenboxProcess(const std::string& display, const std::filesystem::path& home)
        : ChildProcess({"/usr/bin/openbox", "--sm-disable", "--config-file", configuration(home)},
                       {.environment = std::vector<std::string>{"DISPLAY=" + display, "HOME=" + home.string(),
                                                                "XDG_CONFIG_DIRS=" + home.string(),
                                                                "PATH=/usr/bin:/bin"},
                        .output = "/dev/null",
                        .errors = "/dev/null",
                        .stopSignal = SIGTERM})
    {
    }

private:
    static std::string configuration(const std::filesystem::path& home)
    {
        std::filesystem::create_directories(home);
        std::ofstream(home / "rc.xml") << "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"/>\n";
        return (home / "rc.xml").string();
    }
};

}  // namespace veltrane::desktoptest
