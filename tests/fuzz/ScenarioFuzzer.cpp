// Any text as a scenario file, run by the scenario runner on a fresh simulated desktop. A text that
// waits more than ten minutes of virtual time in all is skipped, so that one run stays short. Checked on
// every input:
// - a text that cannot be run is refused with a message that names a line of it with a command on
//   it, and says what is wrong with that line;
// - the application never fails (the simulated desktop finds no cycle of synchronous waits);
// - the transcript is one line per effect, in time order;
// - running never hangs: a run takes seconds at most.

#include "FuzzInput.h"
#include "ScenarioError.h"
#include "ScenarioRunner.h"
#include "ScenarioSyntax.h"
#include "TemporaryFolder.h"
#include "logging/Logging.h"
#include "platform/sim/Scheduler.h"

#include <stdlib.h>

#include <charconv>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace veltrane::scenario;
using veltrane::fuzz::fail;

constexpr double kWaitBudget = 600.0;
constexpr auto kRunBudget = std::chrono::seconds(10);

using Lines = std::vector<std::string>;

bool hasCommand(std::string_view line)
{
    try {
        return !splitWords(line).empty();
    } catch (const ScenarioError&) {
        return true;  // an unclosed quote
    }
}

double totalWait(const Lines& lines)
{
    double total = 0.0;
    for (const auto& line : lines) {
        try {
            const auto words = splitWords(line);
            const double seconds = words.size() == 2 && words[0] == "wait" ? parseNumber(words[1]) : 0.0;
            // A wait too long for the clock is refused, and so costs nothing.
            total += seconds > 0.0 && veltrane::sim::Scheduler::delayToNanos(seconds) ? seconds : 0.0;
        } catch (const ScenarioError&) {
            // A malformed line waits for nothing.
        }
    }
    return total;
}

void checkRefusal(const std::string& failure, const Lines& lines)
{
    constexpr std::string_view prefix = "scenario:";
    std::size_t number = 0;
    const char* end = failure.data() + failure.size();
    const auto read = std::from_chars(failure.data() + std::min(prefix.size(), failure.size()), end, number);
    const std::string_view what(read.ptr, static_cast<std::size_t>(end - read.ptr));
    if (!failure.starts_with(prefix) || read.ec != std::errc() || number == 0 || number > lines.size() ||
        !what.starts_with(": ") || what.size() == 2) {
        fail("a refusal does not name a line of the text and what is wrong: " + failure);
    }
    if (!hasCommand(lines[number - 1])) {
        fail("a refusal names a line without a command: " + failure);
    }
    if (what.starts_with(": the application failed: ")) {
        fail(failure);
    }
}

void run(const std::string& text, const Lines& lines)
{
    veltrane::sim::Desktop desktop;
    std::int64_t last = 0;
    desktop.transcript().setSink([&last](const veltrane::sim::Transcript::Line& line) {
        if (line.time < last || line.formatted().find('\n') != std::string::npos) {
            fail("a transcript line goes back in time or takes more than a line: " + line.formatted());
        }
        last = line.time;
    });
    ScenarioRunner runner(desktop);
    std::istringstream stream(text);
    if (const auto failure = runner.runAll(stream)) {
        checkRefusal(*failure, lines);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The application's log file goes to a folder of the fuzzer's, never into the user's data.
    static const veltrane::testsupport::TemporaryFolder folder;
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto lines = veltrane::fuzz::split(data, size, '\n');
    if (lines.back().empty()) {  // as the runner reads them: a last line break ends the last line
        lines.pop_back();
    }
    if (totalWait(lines) > kWaitBudget) {
        return -1;
    }
    const auto start = std::chrono::steady_clock::now();
    run(text, lines);
    if (std::chrono::steady_clock::now() - start > kRunBudget) {
        fail("running the scenario took more than " + std::to_string(kRunBudget.count()) + " seconds");
    }
    // The application's log destinations outlive it in the library, on threads of their own: none
    // may still be writing when the input ends, nor be there when the next one starts.
    logging::Logging::flush();
    logging::Logging::unregisterAll();
    return 0;
}
