// Any bytes as the settings file, and after a NUL any `veltrane config` command line, its arguments
// separated by NULs, run on that file. Checked on every input:
// - a file that can be read writes back a text that reads again and then writes back the same;
// - the command ends with one of its statuses, and one that succeeded leaves a file that can be read,
//   or, as path and describe do, the file as it was: a user must be able to find a broken file.

#include "FuzzInput.h"
#include "SettingsReload.h"
#include "TemporaryFolder.h"
#include "platform/linux/settings/SettingsCommand.h"
#include "platform/linux/settings/SettingsDocument.h"
#include "platform/linux/settings/SettingsError.h"

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using veltrane::fuzz::fail;
using veltrane::linuxbackend::SettingsCommand;
using veltrane::linuxbackend::SettingsDocument;
using veltrane::linuxbackend::SettingsError;
using veltrane::linuxbackend::SettingsFile;
using veltrane::linuxbackend::SettingsSchema;
using veltrane::testsupport::TemporaryFolder;

const SettingsSchema& schema()
{
    static const SettingsSchema known = veltrane::SettingsReload::schema();
    return known;
}

void checkWrittenBack(std::string_view text)
{
    std::string written;
    try {
        written = SettingsDocument::parse(schema(), text).text();
    } catch (const SettingsError&) {
        return;
    }
    try {
        if (SettingsDocument::parse(schema(), written).text() != written) {
            fail("the text written back changes when read and written again:\n" + written);
        }
    } catch (const SettingsError& error) {
        fail(std::string("the text written back cannot be read: ") + error.what() + "\n" + written);
    }
}

std::filesystem::path settingsPath()
{
    static const TemporaryFolder folder;
    return folder / "settings.json";
}

void checkCommand(std::string_view text, const std::vector<std::string>& arguments)
{
    TemporaryFolder::write(settingsPath(), std::string(text));
    SettingsFile file(settingsPath(), schema(), [](const std::string&) {});
    std::ostringstream discarded;
    const int status = SettingsCommand(file, discarded, discarded).run(arguments);
    if (status != SettingsCommand::done && status != SettingsCommand::unusableFile &&
        status != SettingsCommand::refused) {
        fail("the command ended with status " + std::to_string(status));
    }
    if (status == SettingsCommand::done) {
        const SettingsFile after(settingsPath(), schema(), [](const std::string&) {});
        if (after.problem() && TemporaryFolder::read(settingsPath()) != text) {
            fail("the command succeeded and left a file that cannot be read: " + *after.problem());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto arguments = veltrane::fuzz::split(data, size);
    const std::string text = arguments.front();
    checkWrittenBack(text);
    if (arguments.size() > 1) {
        arguments.erase(arguments.begin());
        checkCommand(text, arguments);
    }
    return 0;
}
