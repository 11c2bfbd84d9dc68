#include "platform/sim/LauncherHelper.h"

#include "platform/sim/Desktop.h"
#include "platform/sim/DesktopLock.h"
#include "platform/sim/SimBundle.h"

#include <charconv>

namespace veltrane::sim {

namespace {

constexpr const char* kPong = "com.marrowind.Veltrane.pong";
constexpr const char* kTerminateLauncher = "com.marrowind.Veltrane.terminateLauncher";

// The delay of the arguments "relaunch N", or nothing for other arguments.
std::optional<std::int64_t> relaunchDelay(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2 || arguments[0] != "relaunch") {
        return std::nullopt;
    }
    const std::string& text = arguments[1];
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return seconds;
}

}  // namespace

void LauncherHelper::open(SimProcess& opener, const std::vector<std::string>& arguments,
                          const platform::Workspace::OpenCompletion& completion)
{
    if (desktop_.faults().helperOpen) {
        desktop_.faults().helperOpen = false;
        opener.mainQueue().async([completion] {
            completion(std::string("The application “") + kName + "” could not be opened.");
        });
        return;
    }
    running_ = true;
    opener.mainQueue().async([completion] { completion(std::nullopt); });
    if (const auto delay = relaunchDelay(arguments)) {
        awaited_ = &opener;
        relaunchDelay_ = *delay;
        desktop_.postDistributed(kPong, std::string(SimBundle::kIdentifier));
    }
}

void LauncherHelper::hear(const std::string& name, const std::optional<std::string>& object)
{
    if (running_ && name == kTerminateLauncher && object == SimBundle::kIdentifier) {
        quit();
    }
}

void LauncherHelper::processExited(const SimProcess& process)
{
    if (&process != awaited_) {
        return;
    }
    awaited_ = nullptr;
    desktop_.queue().asyncAfter(static_cast<double>(relaunchDelay_), [this, quits = quits_] {
        const std::lock_guard guard(desktop_.lock());
        if (quits == quits_) {
            quit();
            desktop_.openApplication();
        }
    });
}

void LauncherHelper::quit()
{
    running_ = false;
    awaited_ = nullptr;
    ++quits_;
}

}  // namespace veltrane::sim
