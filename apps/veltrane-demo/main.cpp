// A first look at Veltrane where no keyboard of the machine may be used: inside a machine of its own
// (scripts/demo boots it), the real program runs on a virtual USB keyboard, a scripted typist types on
// it, and the terminal shows what applications receive. Exits 1 when they receive something else.
#include "Receiver.h"
#include "Typist.h"

#include <linux/input-event-codes.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using veltrane::demo::Receiver;
using veltrane::demo::Typist;

constexpr const char* kLog = "/tmp/veltrane.log";

struct Step {
    const char* what;
    std::function<void(Typist&)> type;
    const char* expected;
};

// Runs the program with the arguments, its output to the file (or to the demo's own), and gives its
// process.
pid_t start(std::vector<std::string> arguments, const char* output = nullptr)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        if (output != nullptr && (std::freopen(output, "a", stdout) == nullptr ||
                                  std::freopen(output, "a", stderr) == nullptr)) {
            ::_exit(127);
        }
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return child;
}

bool configure(const std::string& key, const std::string& value)
{
    std::printf("$ veltrane config set %s %s\n", key.c_str(), value.c_str());
    int status = 0;
    ::waitpid(start({"veltrane", "config", "set", key, value}), &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <class Ready> bool waitFor(Ready ready)
{
    for (auto end = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < end;) {
        if (ready()) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

const std::vector<Step>& script()
{
    static const std::vector<Step> steps{
        {"types h, i", [](Typist& typist) {
             typist.chord({KEY_H});
             typist.chord({KEY_I});
         }, "h i"},
        {"holds caps lock and presses a", [](Typist& typist) { typist.chord({KEY_CAPSLOCK, KEY_A}); },
         "Ctrl+Alt+Super+Shift+A"},
        {"holds caps lock and presses t, then return",
         [](Typist& typist) {
             typist.key(KEY_CAPSLOCK, true);
             typist.chord({KEY_T});
             typist.chord({KEY_ENTER});
             typist.key(KEY_CAPSLOCK, false);
         },
         "Ctrl+Alt+Super+Shift+T Ctrl+Alt+Super+Shift+Return"},
        {"taps caps lock alone", [](Typist& typist) { typist.chord({KEY_CAPSLOCK}); }, "Escape"},
        {"holds caps lock alone for a second and a half",
         [](Typist& typist) {
             typist.key(KEY_CAPSLOCK, true);
             std::this_thread::sleep_for(1500ms);
             typist.key(KEY_CAPSLOCK, false);
         },
         ""},
        {"holds shift and presses a", [](Typist& typist) { typist.chord({KEY_LEFTSHIFT, KEY_A}); }, "Shift+A"},
    };
    return steps;
}

// Once Veltrane says in its log that it listens to the keyboards.
bool listening()
{
    std::ifstream log(kLog);
    const std::string text{std::istreambuf_iterator<char>(log), {}};
    return text.find(" - Open: 0") != std::string::npos;
}

// What applications receive after a step: as soon as it is as long as what they should receive, or
// once a busy machine has had seconds for it. That nothing comes can only be waited out.
std::string receivedAfter(Receiver& receiver, std::string_view expected)
{
    const auto end = std::chrono::steady_clock::now() + (expected.empty() ? 500ms : 5s);
    std::string text;
    while (std::chrono::steady_clock::now() < end && (expected.empty() || text.size() < expected.size())) {
        std::this_thread::sleep_for(20ms);
        if (const auto more = receiver.take(); !more.empty()) {
            text += (text.empty() ? "" : " ") + more;
        }
    }
    return text;
}

bool play(Typist& typist, Receiver& receiver)
{
    bool allReceived = true;
    for (const auto& step : script()) {
        step.type(typist);
        const auto received = receivedAfter(receiver, step.expected);
        std::printf("The typist %-46s applications receive: %s\n", (step.what + std::string(":")).c_str(),
                    received.empty() ? "nothing" : received.c_str());
        allReceived = allReceived && received == step.expected;
    }
    return allReceived;
}

}  // namespace

int main()
{
    ::setenv("XDG_CONFIG_HOME", "/tmp/demo", 1);
    if (!configure("keyRemap", "true") || !configure("executeQuickHyperKey", "true") ||
        !configure("quickHyperKeycode", "escape")) {
        return 1;
    }
    Typist typist;
    std::printf("$ veltrane --headless     (its log: %s)\n", kLog);
    const pid_t veltrane = start({"veltrane", "--headless"}, kLog);
    std::unique_ptr<Receiver> receiver;
    const bool ready = waitFor([&] { return (receiver = Receiver::open()) != nullptr; }) &&
                       waitFor([&] { return typist.grabbed(); }) && waitFor(listening);
    // Veltrane maps a keyboard a second after it comes.
    std::this_thread::sleep_for(1500ms);
    const bool received = ready && play(typist, *receiver);
    ::kill(veltrane, SIGTERM);
    ::waitpid(veltrane, nullptr, 0);
    if (!received) {
        std::printf("Applications did not receive what they should: Veltrane's log follows.\n");
        ::waitpid(start({"cat", kLog}), nullptr, 0);
    }
    return received ? 0 : 1;
}
