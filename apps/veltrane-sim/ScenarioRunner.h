#pragma once

#include "TouchCommands.h"
#include "TranscriptFilter.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/TranscriptDestination.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::scenario {

// Runs a scenario on the simulated desktop, one line at a time: each line acts on the desktop,
// and then everything due at the current virtual time runs.
class ScenarioRunner {
public:
    // Every launch of the scenario starts the application, whose log calls show in the transcript.
    // Kinds given here (--only) keep the transcript to them whatever the scenario's only says.
    explicit ScenarioRunner(sim::Desktop& desktop, std::string_view only = {});
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    // Throws ScenarioError when the line cannot be run.
    void run(std::string_view line);
    // Runs the lines of a scenario file up to the first that cannot be run, and returns what is wrong
    // with that one, naming it ("scenario:4: unknown key name 'capslok'"); nothing when all ran.
    std::optional<std::string> runAll(std::istream& lines);
    // The application's own exit status when its last process has exited, 0 otherwise.
    int exitStatus() const;
    // Whether the transcript shows lines of that kind.
    bool keeps(std::string_view kind) const { return kinds_.keeps(kind); }

private:
    using Words = std::vector<std::string>;
    struct Command {
        void (ScenarioRunner::*handler)(const Words& words);
        std::size_t minArguments;
        std::size_t maxArguments;
        std::string_view usage;
    };
    static const Command& command(const std::string& name);

    void setDefault(const Words& words);
    void setTrusted(const Words& words);
    void connectKeyboard(const Words& words);
    void unplug(const Words& words);
    void launch(const Words& words);
    void press(const Words& words);
    void release(const Words& words);
    void tap(const Words& words);
    void event(const Words& words);
    void front(const Words& words);
    void workspace(const Words& words);
    void wait(const Words& words);
    void fault(const Words& words);
    void quit(const Words& words);
    void menu(const Words& words);
    void reopen(const Words& words);
    void helper(const Words& words);
    void installed(const Words& words);
    void operatingSystem(const Words& words);
    void distributed(const Words& words);
    void loginItem(const Words& words);
    void touch(const Words& words);
    void only(const Words& words);

    bool applicationRunning() const;
    // The running process of the application; a scenario error when there is none.
    sim::SimProcess& runningProcess() const;

    sim::Desktop& desktop_;
    std::shared_ptr<sim::TranscriptDestination> logDestination_;
    TouchCommands touchCommands_;
    TranscriptFilter kinds_;
    const bool kindsFixed_;
};

}  // namespace veltrane::scenario
