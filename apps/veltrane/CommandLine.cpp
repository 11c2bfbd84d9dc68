#include "CommandLine.h"

#include "platform/linux/settings/SettingsCommand.h"

#include <algorithm>

namespace veltrane {

std::vector<CommandLine::Command> CommandLine::commands()
{
    std::vector<Command> commands{
        {"veltrane", "runs the hyper key, with a tray item where the desktop has a tray"},
        {"veltrane --headless", "runs the hyper key without the tray and the windows"}};
    for (const auto& verb : linuxbackend::SettingsCommand::verbs()) {
        commands.push_back({"veltrane config " + std::string(verb.synopsis), std::string(verb.summary)});
    }
    commands.insert(commands.end(),
                    {{"veltrane devices", "the input devices and what Veltrane does with each"},
                     {"veltrane status", "what Veltrane learns from this desktop session, and the application "
                                         "in front"},
                     {"veltrane --version", "the version and the build"},
                     {"veltrane --help", "this list"}});
    return commands;
}

std::string CommandLine::usage()
{
    const auto all = commands();
    const auto widest = std::ranges::max(all, {}, [](const Command& command) { return command.synopsis.size(); });
    std::string text = "usage:\n";
    for (const auto& command : all) {
        text += "  " + command.synopsis + std::string(widest.synopsis.size() + 2 - command.synopsis.size(), ' ') +
                command.summary + "\n";
    }
    return text + "Settings: veltrane config list; what each means: veltrane config describe KEY.\n";
}

}  // namespace veltrane
