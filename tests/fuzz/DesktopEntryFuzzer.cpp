// Any bytes as a desktop entry, up to the first NUL; after it, NUL-separated, the instance and the
// class of a window and an executable to look its application up by. Checked on every input:
// - an application found has the entry's id and a Name of printable text, as the desktop shows it;
// - an application found by any name is found by its desktop file id too.

#include "FuzzInput.h"
#include "TemporaryFolder.h"
#include "platform/linux/system/PrintableText.h"
#include "platform/linux/x11/DesktopEntries.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using veltrane::fuzz::fail;
using veltrane::linuxbackend::DesktopEntries;
using veltrane::linuxbackend::isPrintableText;

constexpr std::string_view kId = "org.example.Editor";

const std::filesystem::path& applicationsFolder()
{
    static const veltrane::testsupport::TemporaryFolder folder;
    return folder.path();
}

void checkFound(const std::optional<DesktopEntries::Entry>& entry, const DesktopEntries& entries,
                const std::string& how)
{
    if (!entry) {
        return;
    }
    if (entry->id != kId || entry->name.empty() || !isPrintableText(entry->name)) {
        fail("found by " + how + " an application that is no entry's: " + entry->id + " named " +
             entry->name);
    }
    if (entries.forWindowClass("", std::string(kId)) != entry) {
        fail("found by " + how + " an application that its desktop file id does not find");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto texts = veltrane::fuzz::split(data, size);
    // A new file each time: the file system would write a truncated one out at once.
    const auto file = applicationsFolder() / (std::string(kId) + ".desktop");
    std::filesystem::remove(file);
    std::ofstream(file, std::ios::binary) << texts[0];
    texts.resize(4);  // the file, then the window's instance and class and the executable

    const DesktopEntries entries({applicationsFolder()});
    checkFound(entries.forWindowClass(texts[1], texts[2]), entries, "window class");
    checkFound(entries.forExecutable(texts[3]), entries, "executable");
    checkFound(entries.forWindowClass("", "Editor"), entries, "the id's last part");
    return 0;
}
