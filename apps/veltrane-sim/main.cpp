// veltrane-sim: runs the application on the simulated desktop and prints what it does.

#include "ScenarioError.h"
#include "ScenarioRunner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kScenarioFailed = 2;
constexpr std::string_view kUsage = "usage: veltrane-sim [--only KINDS] SCENARIO  (- reads standard input)";

struct Arguments {
    std::string scenario;
    std::string only;
};

bool parseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--only" && i + 1 < argc) {
            arguments.only = argv[++i];
        } else if (arguments.scenario.empty() && (argument == "-" || !argument.starts_with('-'))) {
            arguments.scenario = argument;
        } else {
            return false;
        }
    }
    return !arguments.scenario.empty();
}

// The simulated application writes its files (the log file, when asked to) into a folder of this
// run, never into the user's own data and cache folders.
class PrivateFolders {
public:
    PrivateFolders()
        : root_(std::filesystem::temp_directory_path() / ("veltrane-sim-" + std::to_string(::getpid())))
    {
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
    }
    ~PrivateFolders()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    PrivateFolders(const PrivateFolders&) = delete;
    PrivateFolders& operator=(const PrivateFolders&) = delete;

private:
    std::filesystem::path root_;
};

int runScenario(std::istream& input, std::string_view only)
{
    veltrane::sim::Desktop desktop;
    veltrane::scenario::ScenarioRunner runner(desktop, only);
    desktop.transcript().setSink([&](const veltrane::sim::Transcript::Line& line) {
        if (runner.keeps(line.kind)) {
            std::cout << line.formatted() << '\n';
        }
    });
    if (const auto failure = runner.runAll(input)) {
        std::cout.flush();
        std::cerr << *failure << '\n';
        return kScenarioFailed;
    }
    return runner.exitStatus();
}

}  // namespace

int main(int argc, char** argv)
{
    const PrivateFolders folders;
    Arguments arguments;
    if (!parseArguments(argc, argv, arguments)) {
        std::cerr << kUsage << '\n';
        return kScenarioFailed;
    }
    try {
        if (arguments.scenario == "-") {
            return runScenario(std::cin, arguments.only);
        }
        std::ifstream file(arguments.scenario);
        if (!file) {
            std::cerr << "veltrane-sim: cannot read " << arguments.scenario << '\n';
            return kScenarioFailed;
        }
        return runScenario(file, arguments.only);
    } catch (const veltrane::scenario::ScenarioError& error) {
        std::cerr << "veltrane-sim: " << error.what() << '\n';
        return kScenarioFailed;
    }
}
