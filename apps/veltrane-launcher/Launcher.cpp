#include "Launcher.h"

#include "app/Relauncher.h"

#include <spawn.h>

#include <array>
#include <iostream>
#include <system_error>

namespace veltrane {

Launcher::Launcher(std::filesystem::path program, const std::string& busAddress)
    : program_(std::move(program)),
      reactor_([](const std::string& line) { std::cerr << "veltrane-launcher: " << line << "\n"; }),
      bus_(reactor_, loop_, busAddress, Relauncher::kHelperIdentifier)
{
    bus_.observe(Relauncher::kTerminateLauncher, kProgramIdentifier, [this](const auto&) { loop_.quit(); });
}

int Launcher::login()
{
    if (!bus_.problem().empty()) {
        // No program could tell it to go: the helper's work ends with the start.
        return startProgram() ? 0 : 1;
    }
    loop_.async([this] { startAndAwaitWord(); });
    loop_.run();
    return status_;
}

// The program terminates on the pong. A request to quit during the delay means that a program is
// up already, started by someone else, and a second one must not follow.
int Launcher::relaunch(std::int64_t delaySeconds)
{
    if (!bus_.problem().empty()) {
        std::cerr << "veltrane-launcher: cannot relaunch Veltrane, which waits for word on the session bus: "
                  << bus_.problem() << "\n";
        return 1;
    }
    bus_.post(Relauncher::kPong, kProgramIdentifier);
    loop_.asyncAfter(static_cast<double>(delaySeconds), [this] { startAndAwaitWord(); });
    loop_.run();
    return status_;
}

void Launcher::startAndAwaitWord()
{
    if (!startProgram()) {
        status_ = 1;
        loop_.quit();
        return;
    }
    loop_.asyncAfter(kPatienceSeconds, [this] { loop_.quit(); });
}

// In a session of its own, so that it outlives the helper and whatever started the helper.
bool Launcher::startProgram()
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::string path = program_.string();
    std::array<char*, 2> arguments{path.data(), nullptr};
    pid_t child = -1;
    const int failed = ::posix_spawn(&child, path.c_str(), nullptr, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        std::cerr << "veltrane-launcher: cannot start " << path << ": "
                  << std::generic_category().message(failed) << "\n";
    }
    return failed == 0;
}

}  // namespace veltrane
