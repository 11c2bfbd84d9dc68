#include "ManualPage.h"

#include "CommandLine.h"
#include "platform/linux/settings/SettingsCommand.h"

namespace veltrane {

namespace {

// Text as roff shows it: backslashes and hyphens escaped, and no line taken for a request.
std::string escaped(const std::string& text)
{
    std::string roff;
    for (const char character : text) {
        roff += character == '\\' ? "\\e" : character == '-' ? "\\-" : std::string(1, character);
    }
    return !roff.empty() && (roff.front() == '.' || roff.front() == '\'') ? "\\&" + roff : roff;
}

constexpr const char* kDescription =
    "Veltrane turns caps lock (or another chosen key, or a one-finger slide in from the top edge or a corner "
    "of a touchpad) into a hyper key: while it is held, every key, and optionally every click, drag, move "
    "and scroll, reaches applications with Ctrl, Alt, Super and Shift, so that global shortcuts get chords "
    "nothing else collides with. A quick lone press of caps lock can send a key of its own, and caps lock "
    "can be remapped. Veltrane reads the keyboards below the display server and types through a virtual "
    "keyboard of its own, under X11 and Wayland alike. Ctrl+C, or a crash, gives every key back.";

constexpr const char* kFiles =
    ".TP\n"
    ".I $XDG_CONFIG_HOME/veltrane/settings.json\n"
    "The settings (~/.config/veltrane/settings.json without XDG_CONFIG_HOME). A change made to it while "
    "Veltrane runs applies at once; a file that cannot be used changes nothing until it is mended.\n"
    ".TP\n"
    ".I /dev/uinput, /dev/input/event*\n"
    "The virtual keyboard and the input devices, open to the person at the seat through udev's uaccess "
    "tag (or to the group input where logind does not manage seats).\n";

}  // namespace

std::string ManualPage::roff(const linuxbackend::SettingsSchema& schema, const std::string& version)
{
    std::string page = ".TH VELTRANE 1 \"\" \"Veltrane " + version + "\" \"User Commands\"\n" +
                       ".SH NAME\nveltrane \\- caps lock as a hyper key\n.SH SYNOPSIS\n.nf\n";
    const auto commands = CommandLine::commands();
    for (const auto& command : commands) {
        page += escaped(command.synopsis) + "\n";
    }
    page += ".fi\n.SH DESCRIPTION\n" + escaped(kDescription) + "\n.SH COMMANDS\n";
    for (const auto& command : commands) {
        page += ".TP\n.B " + escaped(command.synopsis) + "\n" + escaped(command.summary) + ".\n";
    }
    page += ".SH SETTINGS\nEach setting is read and written with\n.BR \"veltrane config\" .\n";
    for (const auto& setting : schema.settings()) {
        page += ".TP\n.B " + escaped(setting.key) + "\n" + escaped(setting.help.meaning) + ".\nTakes " +
                escaped(linuxbackend::SettingsCommand::accepted(setting)) +
                (setting.help.unit.empty() ? "" : ", in " + escaped(setting.help.unit)) + "; default: " +
                escaped(linuxbackend::SettingsCommand::shownValue(setting, setting.help.absent)) + ".\n";
    }
    return page + ".SH FILES\n" + kFiles;
}

}  // namespace veltrane
